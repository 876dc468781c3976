// Files in and out of the page: a configuration opened from the browser's
// picker or dropped on the page and read by the core's reader; a save and
// the measures' export downloaded under the names the desktop writes.
import type { MainState } from '../bindings/front';
import { messageBox } from './dialogs';
import type { Molvane } from './molvane';

/** Hands a file to the browser as a download (an `<a download>` over a Blob). */
export function download(doc: Document, name: string, data: BlobPart, type: string): void {
  const url = URL.createObjectURL(new Blob([data], { type }));
  const link = doc.createElement('a');
  link.href = url;
  link.download = name;
  link.hidden = true;
  doc.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60_000);
}

export interface FileHost {
  m: Molvane;
  state: MainState;
  doc: Document;
  /** After a load or a save: the window's title names the file. */
  named(name: string): void;
  /** After a load: every control shows the state again. */
  changed(): void;
  /** Where the keyboard goes back after a box. */
  returnTo(): HTMLElement | null;
}

/** `chargeconfig` over a file of the user's: its messages, the run going on after a bad file. */
export async function openConfiguration(host: FileHost, file: File): Promise<void> {
  const { m, state, doc } = host;
  // The reader never looks past its records: a huge file costs nothing more.
  const bytes = new Uint8Array(await file.slice(0, m.configurationBytesRead).arrayBuffer());
  const report = state.load(bytes);
  host.changed();
  if (!report.loaded) {
    await messageBox(doc, { title: report.title, text: report.text, ok: m.okButton, returnTo: host.returnTo() });
    return;
  }
  host.named(file.name);
  if (report.notice)
    await messageBox(doc, { title: report.noticeTitle, text: report.notice, ok: m.okButton, returnTo: host.returnTo() });
}

/** The browser's file picker, opened at once from the user's click. */
export function pickConfiguration(host: FileHost): void {
  const input = host.doc.createElement('input');
  input.type = 'file';
  input.accept = '.C11,.c11';
  input.addEventListener('change', () => {
    const file = input.files?.[0];
    if (file) void openConfiguration(host, file);
  });
  input.click();
}

/** A `.C11` dropped anywhere on the page opens as from the picker. */
export function acceptDrops(host: FileHost, target: HTMLElement): void {
  target.addEventListener('dragover', (event) => {
    if (event.dataTransfer?.types.includes('Files')) event.preventDefault();
  });
  target.addEventListener('drop', (event) => {
    const file = event.dataTransfer?.files[0];
    if (!file) return;
    event.preventDefault();
    void openConfiguration(host, file);
  });
}

/** Asks for a name in a small modal box; null when cancelled (the text area's save asks so too). */
export function askName(
  doc: Document,
  texts: { title: string; label: string; ok: string; cancel: string },
  proposed: string,
  extra?: HTMLElement,
): Promise<string | null> {
  return new Promise((resolve) => {
    const dialog = doc.createElement('dialog');
    dialog.className = 'nom';
    dialog.setAttribute('aria-label', texts.title);
    const form = doc.createElement('form');
    form.method = 'dialog';
    const title = doc.createElement('h2');
    title.textContent = texts.title;
    const label = doc.createElement('label');
    label.textContent = texts.label;
    const input = doc.createElement('input');
    input.type = 'text';
    input.value = proposed;
    input.name = 'nom';
    label.append(' ', input);
    const row = doc.createElement('div');
    row.className = 'boutons';
    const ok = doc.createElement('button');
    ok.value = 'ok';
    ok.textContent = texts.ok;
    const cancel = doc.createElement('button');
    cancel.value = 'annuler';
    cancel.textContent = texts.cancel;
    row.append(ok, cancel);
    form.append(title, label);
    if (extra) form.append(extra);
    form.append(row);
    dialog.append(form);
    doc.body.append(dialog);
    dialog.addEventListener('close', () => {
      const answer = dialog.returnValue === 'ok' ? input.value : null;
      dialog.remove();
      resolve(answer);
    });
    dialog.showModal();
    input.select();
  });
}

/** "Enregistrer": the configuration's bytes, downloaded under the settled name. */
export async function saveConfiguration(host: FileHost, proposed: string): Promise<void> {
  const { m, state, doc } = host;
  const typed = await askName(
    doc,
    { title: m.saveTitle, label: m.saveNameLabel, ok: m.saveButton, cancel: m.cancelCaption },
    proposed,
  );
  if (typed === null) return;
  const name = m.saveName(typed);
  if (!name) {
    await messageBox(doc, { title: m.writeFailureTitle, text: m.noNameText, ok: m.okButton, returnTo: host.returnTo() });
    return;
  }
  const bytes = state.saveBytes();
  if (!bytes) {
    await messageBox(doc, {
      title: m.writeFailureTitle,
      text: m.writeFailureText,
      ok: m.okButton,
      returnTo: host.returnTo(),
    });
    return;
  }
  download(doc, name, bytes, 'application/octet-stream');
  host.named(name);
}

/** "Exporter les mesures (CSV)…": the dialect chosen, every file of the export downloaded. */
export async function exportMeasures(host: FileHost): Promise<void> {
  const { m, state, doc } = host;
  const choice = doc.createElement('fieldset');
  choice.setAttribute('aria-label', m.exportTitle);
  const dialects = [m.spreadsheetDialect, m.pythonDialect].map((text, index) => {
    const label = doc.createElement('label');
    const radio = doc.createElement('input');
    radio.type = 'radio';
    radio.name = 'dialecte';
    radio.value = String(index);
    radio.checked = index === 0;
    label.append(radio, ` ${text}`);
    choice.append(label);
    return radio;
  });
  const typed = await askName(
    doc,
    { title: m.exportTitle, label: m.saveNameLabel, ok: m.okButton, cancel: m.cancelButton },
    m.exportName,
    choice,
  );
  if (typed === null || !typed.trim()) return;
  const python = dialects[1].checked;
  for (const part of m.measuresCsv(state, python, typed.trim())) download(doc, part.name, part.bytes, 'text/csv');
}
