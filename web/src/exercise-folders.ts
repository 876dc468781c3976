// The folders exercises are read from: the one the program ships inside the
// page, and those a teacher gives it (a folder chosen or dropped, or files
// picked together). An exercise names its documents relative to its own
// folder, as on the desktop.
import type { Molvane } from './molvane';

export interface ExerciseFolder {
  /** The folder as the messages name it: "" for the shipped one, else ending with "/". */
  label: string;
  /** Every file of the folder and below, relative to it, "/" between folders. */
  names: string[];
  read(index: number): Promise<Uint8Array>;
}

/** An exercise file of a folder (or the getting-started file). */
export interface ExerciseEntry {
  folder: ExerciseFolder;
  name: string;
}

type Checks = Pick<Molvane, 'exerciseFileMatch' | 'isExerciseFileName'>;

function fromBase64(data: string): Uint8Array<ArrayBuffer> {
  const text = atob(data);
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
  return bytes;
}

async function gunzip(bytes: Uint8Array<ArrayBuffer>): Promise<Uint8Array> {
  const body = new Response(bytes).body;
  if (!body) return new Uint8Array();
  return new Uint8Array(await new Response(body.pipeThrough(new DecompressionStream('gzip'))).arrayBuffer());
}

/** The shipped files (gzipped, base64: web/exercise-files.ts), unpacked when first read. */
export function shippedFolder(files: { name: string; data: string }[]): ExerciseFolder {
  const unpacked = new Map<number, Promise<Uint8Array>>();
  return {
    label: '',
    names: files.map((f) => f.name),
    read: (index) => {
      let bytes = unpacked.get(index);
      if (!bytes) unpacked.set(index, (bytes = gunzip(fromBase64(files[index].data))));
      return bytes;
    },
  };
}

/** A file a teacher gave, with its path inside what was chosen or dropped. */
export interface GivenFile {
  path: string;
  file: Pick<Blob, 'arrayBuffer'>;
}

/**
 * One folder for each folder that holds exercise files, with every file
 * below it; in the order the paths sort.
 */
export function teacherFolders(m: Checks, given: GivenFile[]): ExerciseFolder[] {
  const sorted = [...given].sort((a, b) => (a.path < b.path ? -1 : a.path > b.path ? 1 : 0));
  const folderOf = (path: string) => path.slice(0, path.lastIndexOf('/') + 1);
  const labels = [...new Set(sorted.filter((g) => m.isExerciseFileName(g.path)).map((g) => folderOf(g.path)))];
  return labels.map((label) => {
    const inside = sorted.filter((g) => g.path.startsWith(label));
    return {
      label,
      names: inside.map((g) => g.path.slice(label.length)),
      read: async (index) => new Uint8Array(await inside[index].file.arrayBuffer()),
    };
  });
}

/** The exercise files lying in the folder itself, in its order. */
export function exerciseEntries(m: Checks, folder: ExerciseFolder): ExerciseEntry[] {
  return folder.names
    .filter((name) => !name.includes('/') && m.isExerciseFileName(name))
    .map((name) => ({ folder, name }));
}

/** The bytes of the file a stored name stands for, or null when the folder has none. */
export async function readStored(m: Checks, folder: ExerciseFolder, stored: string): Promise<Uint8Array | null> {
  const index = m.exerciseFileMatch(stored, folder.names);
  return index < 0 ? null : folder.read(index);
}

/** The entry's own bytes. */
export function readEntry(entry: ExerciseEntry): Promise<Uint8Array> {
  return entry.folder.read(entry.folder.names.indexOf(entry.name));
}

/** Files dropped on the page, folders walked through, with their paths. */
export async function droppedFiles(items: DataTransferItemList): Promise<GivenFile[]> {
  const found: GivenFile[] = [];
  const entries: FileSystemEntry[] = [];
  for (const item of [...items]) {
    if (item.kind !== 'file') continue;
    const entry = item.webkitGetAsEntry?.();
    // A file given without its place in a folder is taken as it is.
    const file = entry ? null : item.getAsFile();
    if (entry) entries.push(entry);
    else if (file) found.push({ path: file.name, file });
  }
  const walk = async (entry: FileSystemEntry, prefix: string): Promise<void> => {
    if (entry.isFile) {
      const file = await new Promise<File>((resolve, reject) => (entry as FileSystemFileEntry).file(resolve, reject));
      found.push({ path: prefix + entry.name, file });
      return;
    }
    const reader = (entry as FileSystemDirectoryEntry).createReader();
    // A folder's reader gives its entries a batch at a time, then none.
    for (;;) {
      const batch = await new Promise<FileSystemEntry[]>((resolve, reject) => reader.readEntries(resolve, reject));
      if (batch.length === 0) break;
      for (const child of batch) await walk(child, `${prefix}${entry.name}/`);
    }
  };
  for (const entry of entries) await walk(entry, '');
  return found;
}

/** Files from the picker: with their path inside a chosen folder, else their name. */
export function pickedFiles(files: FileList | File[]): GivenFile[] {
  return [...files].map((file) => ({ path: file.webkitRelativePath || file.name, file }));
}
