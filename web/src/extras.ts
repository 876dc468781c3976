// Small pieces the copy menu, the print dialog and the help share: their own
// style sheet once in the document, and pictures of the canvases.

export function addStyle(id: string, css: string, doc: Document = document): void {
  if (doc.getElementById(id)) return;
  const style = doc.createElement("style");
  style.id = id;
  style.textContent = css;
  doc.head.append(style);
}

// A picture of a canvas at the program's size, whatever the device pixels it
// is drawn with.
export function pictureAt(canvas: HTMLCanvasElement, width?: number, height?: number): HTMLCanvasElement {
  const w = width ?? canvas.width;
  const h = height ?? canvas.height;
  if (w === canvas.width && h === canvas.height) return canvas;
  const copy = canvas.ownerDocument.createElement("canvas");
  copy.width = w;
  copy.height = h;
  const context = copy.getContext("2d");
  if (context) {
    context.imageSmoothingQuality = "high";
    context.drawImage(canvas, 0, 0, w, h);
  }
  return copy;
}

export function pngOf(canvas: HTMLCanvasElement): Promise<Blob> {
  return new Promise((resolve, reject) => {
    canvas.toBlob((blob) => (blob ? resolve(blob) : reject(new Error("image vide"))), "image/png");
  });
}
