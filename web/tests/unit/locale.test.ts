import { expect, test } from 'vitest';
import { decimalSeparator } from '../../src/locale';

test.each([
  ['fr-FR', ','],
  ['fr', ','],
  ['de-DE', ','],
  ['en-US', '.'],
  ['en-GB', '.'],
  ['pas une langue !', '.'],
])('%s', (language, separator) => {
  expect(decimalSeparator(language)).toBe(separator);
});
