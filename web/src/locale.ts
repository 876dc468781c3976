// The user's decimal separator, which the desktop takes from the system's
// settings and the page from the browser's language: "," for French.

export function decimalSeparator(language: string): string {
  try {
    const part = new Intl.NumberFormat(language).formatToParts(1.5).find((p) => p.type === 'decimal');
    return part && part.value.length === 1 ? part.value : '.';
  } catch {
    return '.';
  }
}
