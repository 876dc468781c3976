// A pop-up menu as the desktop's: under its button, the arrows moving among
// its items (disabled ones included, as a screen reader expects), Home and
// End, the items' underlined letters, Enter or Space to choose, Escape or
// Tab to leave. A chosen command runs once the menu has closed.

export interface MenuEntry {
  name: string;
  /** With "&" before the mnemonic; "" for a separator. */
  caption: string;
}

export interface PopupMenu {
  element: HTMLElement;
  open(focusFirst: boolean): void;
  close(returnFocus: boolean): void;
  readonly isOpen: boolean;
  item(name: string): HTMLElement | null;
}

/** The caption without its "&", and the letter after it (lower case, or ""). */
export function mnemonic(caption: string): { text: string; letter: string } {
  const at = caption.search(/&[^&]/);
  const text = caption.replace(/&(.)/g, '$1');
  return { text, letter: at < 0 ? '' : caption[at + 1].toLowerCase() };
}

export function popupMenu(
  doc: Document,
  button: HTMLElement,
  entries: MenuEntry[],
  label: string,
  run: (name: string) => void,
  beforeOpen: (menu: PopupMenu) => void,
): PopupMenu {
  const element = doc.createElement('div');
  element.className = 'menu-exercices';
  element.setAttribute('role', 'menu');
  element.setAttribute('aria-label', label);
  element.id = `menu-${Math.random().toString(36).slice(2)}`;
  element.hidden = true;
  const items: HTMLElement[] = [];
  for (const entry of entries) {
    if (!entry.caption) {
      const line = doc.createElement('div');
      line.setAttribute('role', 'separator');
      element.append(line);
      continue;
    }
    const { text, letter } = mnemonic(entry.caption);
    const item = doc.createElement('div');
    item.setAttribute('role', 'menuitem');
    item.tabIndex = -1;
    item.dataset.item = entry.name;
    item.dataset.key = letter;
    const at = entry.caption.search(/&[^&]/);
    if (at >= 0) {
      // The mnemonic underlined, as on the desktop.
      const underlined = doc.createElement('u');
      underlined.textContent = text[at];
      item.append(text.slice(0, at), underlined, text.slice(at + 1));
    } else {
      item.textContent = text;
    }
    item.setAttribute('aria-keyshortcuts', letter.toUpperCase());
    item.addEventListener('click', (event) => {
      event.stopPropagation();
      choose(item);
    });
    item.addEventListener('mousemove', () => item !== doc.activeElement && item.focus());
    items.push(item);
    element.append(item);
  }
  button.setAttribute('aria-haspopup', 'menu');
  button.setAttribute('aria-expanded', 'false');
  button.setAttribute('aria-controls', element.id);

  const enabled = (item: HTMLElement) => item.getAttribute('aria-disabled') !== 'true';
  const move = (to: number) => items[(to + items.length) % items.length]?.focus();
  const current = () => items.indexOf(doc.activeElement as HTMLElement);

  function choose(item: HTMLElement): void {
    if (!enabled(item)) return;
    menu.close(true);
    const name = item.dataset.item ?? '';
    // The command may open a modal box: not while this event is handled.
    setTimeout(() => run(name), 0);
  }

  element.addEventListener('keydown', (event) => {
    const key = event.key;
    if (key === 'ArrowDown' || key === 'ArrowUp' || key === 'Home' || key === 'End') {
      event.preventDefault();
      const here = current();
      move(key === 'Home' ? 0 : key === 'End' ? -1 : here + (key === 'ArrowDown' ? 1 : -1));
    } else if (key === 'Escape') {
      event.preventDefault();
      event.stopPropagation();
      menu.close(true);
    } else if (key === 'Tab') {
      menu.close(false);
    } else if (key === 'Enter' || key === ' ') {
      event.preventDefault();
      const here = items[current()];
      if (here) choose(here);
    } else if (key.length === 1 && !event.ctrlKey && !event.metaKey) {
      const found = items.find((item) => item.dataset.key === key.toLowerCase() && enabled(item));
      if (found) {
        event.preventDefault();
        choose(found);
      }
    }
  });
  // A click anywhere else, or the keyboard leaving it, closes the menu.
  const outside = (event: Event) => {
    if (!menu.isOpen) return;
    const target = event.target as Node | null;
    if (target && (element.contains(target) || button.contains(target))) return;
    menu.close(false);
  };
  doc.addEventListener('pointerdown', outside, true);
  element.addEventListener('focusout', (event) => {
    const next = event.relatedTarget as Node | null;
    if (next && !element.contains(next)) menu.close(false);
  });

  const menu: PopupMenu = {
    element,
    get isOpen() {
      return !element.hidden;
    },
    open(focusFirst) {
      beforeOpen(menu);
      element.hidden = false;
      button.setAttribute('aria-expanded', 'true');
      // Its top-left corner at the button's bottom-left (both in the window's own units).
      element.style.left = `${button.offsetLeft}px`;
      element.style.top = `${button.offsetTop + button.offsetHeight}px`;
      if (focusFirst) items[0]?.focus();
    },
    close(returnFocus) {
      if (element.hidden) return;
      element.hidden = true;
      button.setAttribute('aria-expanded', 'false');
      if (returnFocus) button.focus();
    },
    item: (name) => items.find((item) => item.dataset.item === name) ?? null,
  };
  button.addEventListener('click', () => (menu.isOpen ? menu.close(true) : menu.open(true)));
  button.addEventListener('keydown', (event) => {
    if (event.key !== 'ArrowDown' || menu.isOpen) return;
    event.preventDefault();
    menu.open(true);
  });
  return menu;
}

/** Enables or disables an item, as screen readers and the arrows see it. */
export function enableItem(item: HTMLElement | null, enabled: boolean): void {
  if (!item) return;
  if (enabled) item.removeAttribute('aria-disabled');
  else item.setAttribute('aria-disabled', 'true');
}
