// Message boxes as the desktop's: a modal dialog with role alertdialog, the
// same French title, text and buttons, Enter for the default button and
// Escape for "Annuler" (or "OK" when it stands alone). Boxes open one after
// another, never while a control still handles its own event.

export interface Box {
  title: string;
  text: string;
  ok: string;
  /** The cancel button's caption, for a question. */
  cancel?: string;
  /** Where the keyboard goes back once the box has closed. */
  returnTo?: HTMLElement | null;
}

let queue: Promise<unknown> = Promise.resolve();
let boxes = 0;

/** Whether a box is open or waiting. */
export function boxOpen(): boolean {
  return boxes > 0;
}

function show(doc: Document, box: Box): Promise<boolean> {
  return new Promise((resolve) => {
    const dialog = doc.createElement('dialog');
    const id = `boite-${Math.random().toString(36).slice(2)}`;
    dialog.className = 'message';
    dialog.setAttribute('role', 'alertdialog');
    dialog.setAttribute('aria-modal', 'true');
    dialog.setAttribute('aria-labelledby', `${id}-titre`);
    dialog.setAttribute('aria-describedby', `${id}-texte`);
    const title = doc.createElement('h2');
    title.id = `${id}-titre`;
    title.textContent = box.title;
    const text = doc.createElement('p');
    text.id = `${id}-texte`;
    text.textContent = box.text.replace(/\r\n/g, '\n');
    const row = doc.createElement('div');
    row.className = 'boutons';
    const ok = doc.createElement('button');
    ok.type = 'button';
    ok.textContent = box.ok;
    row.append(ok);
    let cancel: HTMLButtonElement | null = null;
    if (box.cancel !== undefined) {
      cancel = doc.createElement('button');
      cancel.type = 'button';
      cancel.textContent = box.cancel;
      row.append(cancel);
    }
    dialog.append(title, text, row);
    doc.body.append(dialog);

    let answered = false;
    const finish = (answer: boolean) => {
      if (answered) return;
      answered = true;
      if (dialog.open) dialog.close();
      dialog.remove();
      // The keyboard goes back where it was, which a reader then reads.
      box.returnTo?.focus();
      resolve(answer);
    };
    ok.addEventListener('click', () => finish(true));
    cancel?.addEventListener('click', () => finish(false));
    // Escape: the dialog's own cancel.
    dialog.addEventListener('cancel', (event) => {
      event.preventDefault();
      finish(cancel === null);
    });
    dialog.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && !event.isComposing) {
        event.preventDefault();
        // Enter presses the button that has the keyboard, else the default one.
        finish(doc.activeElement === cancel ? false : true);
      }
    });
    dialog.showModal();
    ok.focus();
  });
}

/** Opens the box once the event being handled is over, after any box before it. */
export function messageBox(doc: Document, box: Box): Promise<boolean> {
  ++boxes;
  const answer = queue.then(
    () =>
      new Promise<boolean>((resolve) => {
        setTimeout(() => show(doc, box).then(resolve), 0);
      }),
  );
  queue = answer.finally(() => --boxes);
  return answer;
}
