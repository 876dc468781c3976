// Configuration files' names and messages (files.cpp).

export interface FilesModule {
  /** The name a save takes from what the user typed ("essai" gives "essai.C11"); "" when none is left. */
  saveName(typed: string): string;
  /** How many bytes of a file the reader looks at. */
  configurationBytesRead: number;
  configurationSignature: string;
  /** The save dialog: title, the name's label, its two buttons. */
  saveTitle: string;
  saveNameLabel: string;
  saveButton: string;
  cancelCaption: string;
  /** Said when no name is left. */
  noNameText: string;
  writeFailureTitle: string;
  writeFailureText: string;
  notConfigurationTitle: string;
  notConfigurationText: string;
  readFailureTitle: string;
  readFailureText: string;
}
