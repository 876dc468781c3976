// The C++ core as the page sees it: every binding's declarations in one type,
// and the loading of the module carried inside the page.
import createMolvane from 'virtual:molvane-module';
import type { CalcModule } from '../bindings/calc';
import type { CoreModule } from '../bindings/core';
import type { ExercisesModule } from '../bindings/exercises';
import type { FilesModule } from '../bindings/files';
import type { FrontModule } from '../bindings/front';
import type { MeasuresModule } from '../bindings/measures';
import type { OutputModule } from '../bindings/output';
import type { RichTextModule } from '../bindings/richtext';
import type { SettingsModule } from '../bindings/settings';

export type Molvane = CalcModule &
  CoreModule &
  SettingsModule &
  FrontModule &
  FilesModule &
  MeasuresModule &
  ExercisesModule &
  OutputModule &
  RichTextModule;

export function loadMolvane(): Promise<Molvane> {
  return createMolvane() as Promise<Molvane>;
}
