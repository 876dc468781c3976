// The exercises: the menu, the exercise window's texts and messages, the
// exercise files' reader and the introduction (exercises.cpp).

export interface ExerciseMenuItem {
  /** The desktop's item name (`openexo`, `Closexo`…); "" caption for a separator. */
  name: string;
  /** With "&" before its mnemonic. */
  caption: string;
}

export interface ExercisePreview {
  corrected: boolean;
  /** The three difficulty symbols, lit or dark. */
  lit: boolean[];
  topics: string;
  title: string;
  hourglasses: number;
}

/** A document and its configuration, names as the exercise file stores them. */
export interface ExerciseDocument {
  document: string;
  configuration: string;
  documentBlank: boolean;
  configurationBlank: boolean;
}

export interface ExerciseMessage {
  title: string;
  text: string;
}

export interface ExercisesModule {
  /** The menu "Exercices" as the page offers it, in order. */
  exerciseMenu(): ExerciseMenuItem[];
  /** What the window shows of an exercise file; null when it cannot be read. */
  exercisePreview(bytes: Uint8Array): ExercisePreview | null;
  /** Records 1 and 2 (statement), or 3 and 4 (correction); null when unreadable. */
  exerciseStatement(bytes: Uint8Array): ExerciseDocument | null;
  exerciseCorrection(bytes: Uint8Array): ExerciseDocument | null;
  /** Index of the file a stored name stands for among names relative to the exercise's folder, or -1. */
  exerciseFileMatch(stored: string, names: string[]): number;
  /** Whether a file's name is an exercise file's (".E32" in any case). */
  isExerciseFileName(name: string): boolean;
  /** The introduction, written as RTF by the shared writer. */
  introductionRtf(): Uint8Array;
  exerciseReadFailure(): ExerciseMessage;
  /** folder ends with its separator. */
  exerciseMissingDocument(folder: string, name: string): ExerciseMessage;
  gettingStartedFailure(): ExerciseMessage;
  exerciseDifficultySymbolName(index: number, lit: boolean): string;
  exerciseHourglassesName(count: number): string;
  exerciseOpenedNotice(title: string): string;
  exerciseCorrectionNotice(title: string): string;
  exerciseWindowTitle: string;
  exerciseListHeading: string;
  exerciseSelectFile: string;
  exerciseFileBoxName: string;
  exerciseOpenCaption: string;
  exerciseOpenTip: string;
  exerciseCloseCaption: string;
  exerciseCloseTip: string;
  exerciseWaitFirstLine: string;
  exerciseWaitSecondLine: string;
  exerciseTopicsHeading: string;
  exerciseDifficultyHeading: string;
  exerciseCorrected: string;
  exerciseNotCorrected: string;
  exerciseOtherExercises: string;
  exerciseDropHint: string;
  gettingStartedNotice: string;
  introductionNotice: string;
  gettingStartedFile: string;
}
