// The page's start: the core loaded, the window built from its control table,
// the controls wired to the core's handling, and the run ticking.
import './style.css';
import './calculator';
import './exercises';
import type { AnimationRecorder, GraphRecorder } from '../bindings/core';
import type { MainState } from '../bindings/front';
import { app as currentApp, publish } from './app';
import { cssColour, fromHex, hexColour } from './colours';
import { boxOpen, messageBox } from './dialogs';
import { acceptDrops, exportMeasures, pickConfiguration, saveConfiguration, type FileHost } from './files';
import { designSize, fitScale, isPortrait, portraitRect } from './layout';
import { decimalSeparator } from './locale';
import { loadMolvane, type Molvane } from './molvane';
import { buildPage, keyLetters, textHeight, textWidth, type Page } from './page';
import { graphFont, paintShading, paintStrokes, replayAnimation, replayGraph } from './replay';
import { seedFromAddress } from './seed';
import { browserStorage, readChoices, writeChoices } from './storage';
import { fillTable } from './table';
import { createCopyMenu } from './copy';
import { createPrintDialog } from './print';
import { createHelp } from './help';
import book from './helpbook';
import { startFuzz } from './fuzz';
import { textArea } from './textarea';
import './recovery';

const kLoupeScale = 2;
const kMeasuresKept = 36_000;

function input(page: Page, name: string): HTMLInputElement {
  const element = page.controls.get(name);
  if (!element) throw new Error(`no control ${name}`);
  return (element instanceof HTMLInputElement ? element : element.querySelector('input')) as HTMLInputElement;
}

class MainWindow {
  private readonly doc: Document;
  private readonly vessel: AnimationRecorder;
  private readonly graph: GraphRecorder;
  private loupe: AnimationRecorder | null = null;
  private loupeDialog: HTMLDialogElement | null = null;
  private scale = 1;
  private graphClears = -1;
  private graphDone = 0;
  private background: HTMLCanvasElement;
  private loupeBackground: HTMLCanvasElement | null = null;
  private framePending = false;
  private timer = 0;
  private wasRecording = false;
  private measures = 0;
  /** What the file commands work with (set once the controls are wired). */
  files: FileHost | null = null;
  private currentTab = 0;
  private savedName = '';
  private readonly caption: string;

  constructor(
    private readonly m: Molvane,
    private readonly state: MainState,
    private readonly page: Page,
  ) {
    this.doc = page.root.ownerDocument;
    this.caption = this.doc.title;
    this.vessel = new m.AnimationRecorder();
    this.graph = new m.GraphRecorder((text, italic) => this.measure(text, italic));
    this.background = this.doc.createElement('canvas');
    this.attach();
  }

  private measure(text: string, italic: boolean): number {
    const ctx = this.background.getContext('2d');
    if (!ctx) return text.length * 6;
    ctx.save();
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.font = graphFont(italic);
    const width = ctx.measureText(text).width;
    ctx.restore();
    return width;
  }

  private attach(): void {
    this.state.setDisplay(this.vessel, this.loupe, this.graph);
  }

  // --- Start and ticks.

  start(seed: number | null): void {
    if (seed !== null) {
      this.state.fixSeed(seed);
      this.state.seed(seed);
    } else {
      this.state.seedFromClock();
    }
    this.state.setDecimalSeparator(decimalSeparator(navigator.language));
    this.applyChoices();
    this.state.start();
    this.wire();
    this.layOut();
    addEventListener('resize', () => this.layOut());
    matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener?.('change', () => this.layOut());
    this.wasRecording = this.state.recording();
    this.refresh();
    this.timer = window.setInterval(() => this.tick(), this.m.tickMilliseconds);
  }

  private tick(): void {
    performance.mark('tick-start');
    this.state.tick();
    performance.measure('tick', 'tick-start');
    performance.clearMarks('tick-start');
    // The browser keeps every measure: an hour's worth is plenty for whoever reads them.
    if (++this.measures >= kMeasuresKept) {
      performance.clearMeasures('tick');
      this.measures = 0;
    }
    const recording = this.state.recording();
    if (this.wasRecording && !recording) this.page.live.textContent = this.state.graphSpeech();
    this.wasRecording = recording;
    this.frame();
  }

  stop(): void {
    clearInterval(this.timer);
    this.timer = 0;
    this.page.root.inert = true;
  }

  /** Drawing waits for the next animation frame; ticks never wait for drawing. */
  private frame(): void {
    if (this.framePending) return;
    this.framePending = true;
    requestAnimationFrame(() => {
      this.framePending = false;
      this.draw();
    });
  }

  // --- Layout: the design scaled to the browser's window, canvases in device pixels.

  private layOut(): void {
    const portrait = isPortrait(innerWidth, innerHeight);
    const design = designSize(portrait, this.m.designWidth, this.m.designHeight);
    this.scale = fitScale(innerWidth, innerHeight, design);
    const root = this.page.root;
    root.classList.toggle('portrait', portrait);
    root.style.width = `${design.width}px`;
    root.style.height = `${design.height}px`;
    root.style.transform = `scale(${this.scale})`;
    root.style.left = `${Math.max(0, (innerWidth - design.width * this.scale) / 2)}px`;
    // Each control of the window itself, and the texts painted on it.
    const commands = [...this.page.designRects.entries()]
      .filter(([, r]) => r.y < 40)
      .sort((a, b) => a[1].x - b[1].x)
      .map(([name]) => name);
    for (const [name, rect] of this.page.designRects) {
      const placed = portrait ? portraitRect(rect, commands.indexOf(name), this.m.designHeight) : rect;
      const element = this.page.controls.get(name);
      if (!element) continue;
      element.style.left = `${placed.x}px`;
      element.style.top = `${placed.y}px`;
    }
    for (const span of root.querySelectorAll<HTMLElement>(':scope > .peint')) {
      span.dataset.y ??= span.style.top;
      const y = parseFloat(span.dataset.y);
      span.style.top = `${portrait ? portraitRect({ x: 0, y, width: 0, height: 0 }, 0, this.m.designHeight).y : y}px`;
    }
    this.selectTab(this.currentTab);
    this.paintBackdrop(portrait, design);
    this.sizeCanvas(this.page.vessel, this.m.vesselWidth, this.m.vesselHeight);
    const graph = this.page.designRects.get('Picture2');
    if (graph) this.sizeCanvas(this.page.graph, graph.width, graph.height);
    this.paintBackground();
    this.graphClears = -1;
    this.draw();
  }

  private paintBackdrop(portrait: boolean, design: { width: number; height: number }): void {
    const canvas = this.page.backdrop;
    this.sizeCanvas(canvas, design.width, design.height);
    const ctx = canvas.getContext('2d');
    if (!ctx) return;
    const shift = (x: number, y: number) =>
      portrait ? portraitRect({ x, y, width: 0, height: 0 }, -1, this.m.designHeight) : { x, y };
    paintStrokes(ctx, this.m.windowStrokes(design.width, design.height), shift);
    // Under a panel, at the size the strip gives it.
    for (const panel of this.page.panelBackdrops) {
      const place = panel.parentElement;
      if (!place) continue;
      this.sizeCanvas(panel, parseFloat(place.style.width) || 0, parseFloat(place.style.height) || 0);
      const panelCtx = panel.getContext('2d');
      if (panelCtx) paintStrokes(panelCtx, this.m.panelStrokes(panel.dataset.panel ?? ''));
    }
  }

  private ratio(): number {
    return this.scale * (devicePixelRatio || 1);
  }

  private sizeCanvas(canvas: HTMLCanvasElement, width: number, height: number, scale = 1): void {
    const ratio = this.ratio() * scale;
    canvas.width = Math.round(width * scale * ratio);
    canvas.height = Math.round(height * scale * ratio);
    canvas.style.width = `${width * scale}px`;
    canvas.style.height = `${height * scale}px`;
    canvas.getContext('2d')?.setTransform(ratio, 0, 0, ratio, 0, 0);
  }

  private paintBackground(): void {
    const paint = (canvas: HTMLCanvasElement, width: number, height: number, ratio: number) => {
      canvas.width = Math.round(width * ratio);
      canvas.height = Math.round(height * ratio);
      const ctx = canvas.getContext('2d');
      if (!ctx) return;
      ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
      const rings = this.state.whiteBackground() ? [] : this.m.shadingRings(width, height);
      paintShading(ctx, width, height, rings);
    };
    paint(this.background, this.m.vesselWidth, this.m.vesselHeight, this.ratio());
    if (this.loupeDialog) {
      this.loupeBackground ??= this.doc.createElement('canvas');
      paint(
        this.loupeBackground,
        this.m.vesselWidth * kLoupeScale,
        this.m.vesselHeight * kLoupeScale,
        devicePixelRatio || 1,
      );
    }
  }

  // --- Drawing.

  private drawVessel(canvas: HTMLCanvasElement, recorder: AnimationRecorder, background: HTMLCanvasElement): void {
    const ctx = canvas.getContext('2d');
    if (!ctx) return;
    ctx.save();
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.drawImage(background, 0, 0, canvas.width, canvas.height);
    ctx.restore();
    replayAnimation(ctx, recorder.commands());
  }

  private drawGraph(): void {
    const ctx = this.page.graph.getContext('2d');
    if (!ctx) return;
    if (this.graph.clears() !== this.graphClears) {
      this.graphClears = this.graph.clears();
      this.graphDone = 0;
      ctx.save();
      ctx.setTransform(1, 0, 0, 1, 0, 0);
      ctx.fillStyle = 'rgb(255, 255, 255)';
      ctx.fillRect(0, 0, this.page.graph.width, this.page.graph.height);
      ctx.restore();
    }
    // The graph's y counts from -8 at its top edge.
    ctx.save();
    ctx.translate(0, 8);
    // A copy of what is new: reading a text may grow the module's memory,
    // which takes the view's buffer away.
    const fresh = this.graph.commands().slice(this.graphDone);
    this.graphDone += replayGraph(ctx, fresh, 0, (i) => this.graph.textAt(i));
    ctx.restore();
  }

  private draw(): void {
    this.drawVessel(this.page.vessel, this.vessel, this.background);
    this.drawGraph();
    if (this.loupe && this.loupeDialog && this.loupeBackground) {
      const canvas = this.loupeDialog.querySelector('canvas');
      if (canvas) this.drawVessel(canvas, this.loupe, this.loupeBackground);
    }
    this.showTexts();
    if (!this.state.graphShown()) fillTable(this.page.table, this.state);
  }

  private showTexts(): void {
    const texts = this.state.panelTexts();
    const set = (name: string, text: string) => {
      const element = this.page.controls.get(name);
      if (element && element.textContent !== text) element.textContent = text;
    };
    texts.labelinf.forEach((text, s) => set(`Labelinf_${s}`, text));
    set('Label1', texts.label1);
  }

  // --- Every control shows the state.

  refresh(): void {
    const { state, page } = this;
    for (let s = 0; s < 4; ++s) {
      const box = input(page, `Text1_${s}`);
      if (box.value !== state.count(s)) box.value = state.count(s);
      input(page, `option2_${s}`).checked = state.curve(s);
      input(page, `option2_${s}`).disabled = !state.curvesEnabled();
      const swatch = page.controls.get(`Label4_${s + 1}`);
      if (swatch) {
        swatch.style.backgroundColor = cssColour(state.colour(s));
        const control = this.m.controls().find((c) => c.name === `Label4_${s + 1}`);
        swatch.setAttribute(
          'aria-description',
          this.m.describedWith(this.m.colourName(state.colour(s)), control?.spokenDescription ?? ''),
        );
      }
    }
    for (const { element, species } of page.speciesTexts) element.style.color = cssColour(state.colour(species));
    for (let i = 0; i < 2; ++i) {
      const box = input(page, `Label5_${i}`);
      if (this.doc.activeElement !== box) box.value = state.percentText(i);
      this.bar(`VScroll4_${i}`, state.sensePosition(i));
      input(page, `Option1_${i}`).checked = state.view(i);
    }
    this.bar('HScroll1', state.temperature());
    this.bar('VScroll2', state.durationPosition());
    this.bar('VScroll3', state.rowsPosition());
    const label = (name: string, text: string) => {
      const element = page.controls.get(name);
      if (element) element.textContent = text;
    };
    label('Label2', state.durationText());
    label('Label3', state.rowsText());
    input(page, 'Check1').checked = state.whiteBackground();
    input(page, 'Check2').checked = state.keepCurves();
    input(page, 'Check3').checked = state.showQr();
    const effacer = page.controls.get('Command6');
    if (effacer) effacer.hidden = !state.effacerVisible();
    const grid = page.controls.get('MSFlexGrid1');
    if (grid) grid.hidden = state.graphShown();
    // The keyboard reaches the view shown.
    page.graph.tabIndex = state.graphShown() ? 0 : -1;
    if (!state.graphShown()) fillTable(page.table, state);
    this.frame();
  }

  private bar(name: string, value: number): void {
    const range = input(this.page, name);
    range.value = String(value);
    range.setAttribute('aria-valuetext', this.state.barValueText(name));
  }

  // --- The display choices kept in the browser.

  private applyChoices(): void {
    const storage = browserStorage();
    const choices = storage && readChoices(storage);
    if (!choices) return;
    choices.colours.forEach((colour, s) => this.state.setColour(s, colour));
    this.state.setCheck('Check1', choices.whiteBackground);
    this.state.setCheck('Check2', choices.keepCurves);
    this.state.setCheck('Check3', choices.showQr);
  }

  private keepChoices(): void {
    const storage = browserStorage();
    if (!storage) return;
    writeChoices(storage, {
      colours: [0, 1, 2, 3].map((s) => this.state.colour(s)),
      whiteBackground: this.state.whiteBackground(),
      keepCurves: this.state.keepCurves(),
      showQr: this.state.showQr(),
    });
  }

  // --- The controls' handling: every rule is the core's.

  private wire(): void {
    const { page, state, m, doc } = this;
    const on = (name: string, type: string, handler: (event: Event) => void) =>
      page.controls.get(name)?.addEventListener(type, handler);
    const after = (change: () => unknown) => () => {
      change();
      this.refresh();
    };

    // The count boxes and the percentages take digits only; leaving one after
    // a change runs its check.
    const digitsOnly = (box: HTMLInputElement, leave: (entered: boolean) => void) => {
      let edited = false;
      box.addEventListener('keydown', (event) => {
        if (event.key === 'Enter') {
          event.preventDefault();
          edited = false;
          leave(true);
          return;
        }
        if (event.ctrlKey || event.metaKey || event.altKey || event.key.length !== 1) return;
        if (!/[0-9]/.test(event.key)) event.preventDefault();
      });
      box.addEventListener('paste', (event) => event.preventDefault());
      box.addEventListener('drop', (event) => event.preventDefault());
      box.addEventListener('input', () => {
        edited = true;
      });
      box.addEventListener('blur', () => {
        if (!edited || boxOpen()) return;
        edited = false;
        leave(false);
      });
    };
    for (let s = 0; s < 4; ++s) {
      const box = input(page, `Text1_${s}`);
      box.addEventListener('input', () => state.typeCount(s, box.value));
      digitsOnly(box, (entered) => {
        const limit = state.leaveCount(s);
        this.refresh();
        if (limit !== 0) {
          // A refused count keeps the keyboard, which then says the count it holds.
          void messageBox(doc, {
            title: m.countTitle,
            text: limit === 1 ? m.tooManyText : m.tooFewText,
            ok: m.okButton,
            returnTo: box,
          });
        } else if (entered) {
          page.vessel.focus();
        }
      });
    }
    for (let i = 0; i < 2; ++i) {
      const box = input(page, `Label5_${i}`);
      box.addEventListener('input', () => state.typePercent(i, box.value));
      digitsOnly(box, after(() => state.leavePercent(i)));
      on(`VScroll4_${i}`, 'input', after(() => state.setSensePosition(i, Number(input(page, `VScroll4_${i}`).value))));
      on(`Option1_${i}`, 'change', after(() => state.setView(i, input(page, `Option1_${i}`).checked)));
    }
    on('HScroll1', 'input', after(() => state.setTemperature(Number(input(page, 'HScroll1').value))));
    on('VScroll3', 'input', after(() => state.setRowsPosition(Number(input(page, 'VScroll3').value))));
    on('VScroll2', 'change', () => {
      const bar = input(page, 'VScroll2');
      const position = Number(bar.value);
      if (!state.durationAsks(position)) {
        state.moveDuration(position, false);
        this.refresh();
        return;
      }
      // The bar waits at its place until the question is answered.
      this.refresh();
      void messageBox(doc, {
        title: m.durationTitle,
        text: m.durationQuestion,
        ok: m.okButton,
        cancel: m.cancelButton,
        returnTo: bar,
      }).then((confirmed) => {
        state.moveDuration(position, confirmed);
        this.refresh();
      });
    });
    for (let s = 0; s < 4; ++s) {
      on(`option2_${s}`, 'change', after(() => state.setCurve(s, input(page, `option2_${s}`).checked)));
      on(`Label4_${s + 1}`, 'click', () => this.pickColour(s));
    }
    for (const name of ['Check1', 'Check2', 'Check3']) {
      on(name, 'change', () => {
        state.setCheck(name, input(page, name).checked);
        if (name === 'Check1') this.paintBackground();
        this.keepChoices();
        this.refresh();
      });
    }
    on('Command6', 'click', after(() => state.effacer()));
    on('Command5', 'click', after(() => state.restart()));
    on('Comloupe', 'click', () => this.openLoupe());
    page.vessel.addEventListener('click', () => this.openLoupe());
    on('Command1', 'click', async () => {
      // The pupil's unsaved text first, then the close itself.
      if (!(await textArea().confirmDiscard())) return;
      void messageBox(doc, {
        title: m.closeTitle,
        text: m.closeQuestion,
        ok: m.okButton,
        cancel: m.cancelButton,
        returnTo: page.controls.get('Command1'),
      }).then((close) => {
        if (!close) return;
        this.stop();
        window.close();
      });
    });

    // A tab closed over an unsaved text: the browser asks first (the
    // recovery copy still holds it if the pupil leaves anyway).
    window.addEventListener('beforeunload', (event) => {
      try {
        if (textArea().modified) event.preventDefault();
      } catch {
        // No text area yet: nothing to lose.
      }
    });

    // Files.
    const files: FileHost = (this.files = {
      m,
      state,
      doc,
      named: (name) => {
        this.savedName = name;
        doc.title = `${this.caption} - ${name}`;
      },
      changed: () => this.refresh(),
      returnTo: () => (doc.activeElement instanceof HTMLElement ? doc.activeElement : null),
    });
    on('Command2', 'click', () => pickConfiguration(files));
    on('Command11', 'click', () => void saveConfiguration(files, this.savedName));
    acceptDrops(files, doc.body);

    // The tabs: a click, or the arrows on the tab list.
    page.tabs.forEach((tab, index) => tab.addEventListener('click', () => this.selectTab(index)));
    page.tabs[0]?.parentElement?.addEventListener('keydown', (event) => {
      const step = event.key === 'ArrowRight' ? 1 : event.key === 'ArrowLeft' ? -1 : 0;
      if (!step && event.key !== 'Home' && event.key !== 'End') return;
      event.preventDefault();
      const count = page.tabs.length;
      const next =
        event.key === 'Home' ? 0 : event.key === 'End' ? count - 1 : (this.currentTab + step + count) % count;
      this.selectTab(next);
      page.tabs[next].focus();
    });
    this.selectTab(0);
    keyLetters(doc, page.root);

    // The help line says what lies under the pointer.
    page.root.addEventListener('mousemove', (event) => this.hover(event));

    // The vessel, the graph and the reading stops say the run on demand.
    const speak = (element: HTMLElement, text: () => string, name: string) => {
      const say = () => {
        element.setAttribute('aria-label', `${name} ; ${text()}`);
      };
      element.addEventListener('focus', say);
      element.addEventListener('keydown', (event) => {
        if (event.key !== 'Enter' && event.key !== ' ') return;
        event.preventDefault();
        say();
        page.live.textContent = text();
      });
    };
    const nameOf = (control: string) => m.controls().find((c) => c.name === control)?.spokenName ?? '';
    speak(page.vessel, () => state.runSpeech(), nameOf('animpic'));
    speak(page.graph, () => state.graphSpeech(), nameOf('Picture2'));
    const stop = (name: string, text: () => string) => {
      const element = page.controls.get(name);
      if (!element) return;
      const say = () => element.setAttribute('aria-label', text());
      say();
      element.addEventListener('focus', say);
    };
    stop('Equation', () => state.equationSpeech());
    stop('Pendant', () => state.duringSpeech());
  }

  private selectTab(index: number): void {
    this.currentTab = index;
    const strip = this.page.controls.get('Onglets');
    const rect = this.page.designRects.get('Onglets');
    if (!strip || !rect) return;
    // The strip as the core lays it out for the names' widths, the current one in bold.
    const names = this.page.tabs.map((tab) => tab.textContent ?? '');
    const widths = names.map((name, k) => textWidth(this.doc, name, 8, k === index));
    const nameHeight = textHeight(this.doc, 'W', 8);
    const layout = this.m.tabStrip(widths, rect.width, rect.height, nameHeight, index + 1);
    if (!layout) return;
    this.page.tabs.forEach((tab, k) => {
      const selected = k === index;
      tab.setAttribute('aria-selected', String(selected));
      tab.tabIndex = selected ? 0 : -1;
      tab.style.left = `${layout.boundaries[k] + layout.gap}px`;
      tab.style.top = `${layout.nameTops[k]}px`;
      tab.style.width = `${Math.ceil(widths[k])}px`;
      tab.style.height = `${nameHeight}px`;
      const panel = this.page.panels[k];
      if (!panel) return;
      panel.hidden = !selected;
      panel.style.left = `${layout.panel.x}px`;
      panel.style.top = `${layout.panel.y}px`;
      panel.style.width = `${layout.panel.width}px`;
      panel.style.height = `${layout.panel.height}px`;
    });
    const lines = this.page.stripLines;
    this.sizeCanvas(lines, rect.width, rect.height);
    const ctx = lines.getContext('2d');
    if (ctx) {
      ctx.fillStyle = cssColour(this.m.panelColour);
      ctx.fillRect(0, 0, rect.width, rect.height);
      paintStrokes(ctx, layout.strokes);
    }
  }

  private hover(event: MouseEvent): void {
    // Drags belong to the controls (a bar's thumb).
    if (event.buttons !== 0) return;
    let target = event.target instanceof Element ? event.target.closest<HTMLElement>('[data-control]') : null;
    while (target) {
      const name = target.dataset.control ?? '';
      const box = target.getBoundingClientRect();
      const y = (event.clientY - box.top) / this.scale;
      const text = this.m.hoverText(name, Math.floor(y));
      if (text) {
        if (this.page.info.textContent !== text) this.page.info.textContent = text;
        return;
      }
      target = target.parentElement?.closest<HTMLElement>('[data-control]') ?? null;
    }
  }

  private pickColour(species: number): void {
    const picker = this.doc.createElement('input');
    picker.type = 'color';
    picker.value = hexColour(this.state.colour(species));
    picker.addEventListener('change', () => {
      const colour = fromHex(picker.value);
      if (colour === null) return;
      this.state.chooseColour(species, colour);
      this.keepChoices();
      this.refresh();
    });
    picker.click();
  }

  // --- "Agrandir": the vessel at twice the size, drawn by the same ticks.

  private openLoupe(): void {
    if (this.loupeDialog) {
      this.loupeDialog.querySelector('canvas')?.focus();
      return;
    }
    const dialog = this.doc.createElement('dialog');
    dialog.className = 'loupe';
    dialog.setAttribute('aria-label', this.m.magnifierName);
    dialog.setAttribute('aria-description', this.m.magnifierDescription);
    const title = this.doc.createElement('h2');
    title.textContent = this.doc.title + this.m.magnifierTitleSuffix;
    const canvas = this.doc.createElement('canvas');
    canvas.tabIndex = 0;
    canvas.setAttribute('role', 'img');
    canvas.setAttribute('aria-label', this.m.magnifierName);
    const ratio = devicePixelRatio || 1;
    canvas.width = Math.round(this.m.vesselWidth * kLoupeScale * ratio);
    canvas.height = Math.round(this.m.vesselHeight * kLoupeScale * ratio);
    // Twice the vessel, or as much as the browser's window holds (style.css).
    canvas.style.setProperty('--largeur', `${this.m.vesselWidth * kLoupeScale}px`);
    canvas.getContext('2d')?.setTransform(ratio, 0, 0, ratio, 0, 0);
    dialog.append(title, canvas);
    dialog.addEventListener('close', () => {
      // The core lets go of the recorder before it goes.
      const loupe = this.loupe;
      this.loupe = null;
      this.loupeDialog = null;
      this.attach();
      loupe?.delete();
      dialog.remove();
      this.page.controls.get('Comloupe')?.focus();
    });
    dialog.addEventListener('keydown', (event) => {
      if (event.key === 'Escape') dialog.close();
    });
    this.doc.body.append(dialog);
    this.loupeDialog = dialog;
    this.loupe = new this.m.AnimationRecorder();
    this.attach();
    this.paintBackground();
    dialog.show();
    canvas.focus();
  }

}

// "Copier", "Imprimer" and "Aide": the copy menu, the print dialog and the
// help, over the canvases, the table and the core's texts and layout.
function wireOutputs(m: Molvane, state: MainState, page: Page, feuilleP: MainWindow): void {
  const button = (name: string) => page.controls.get(name);
  const animation = { canvas: () => page.vessel, width: m.vesselWidth, height: m.vesselHeight };
  const graphRect = m.controls().find((c) => c.name === 'Picture2')?.rect;
  const graph = { canvas: () => page.graph, width: graphRect?.width ?? 0, height: graphRect?.height ?? 0 };
  // The table is kept filled only while shown: the copies and the print fill it first.
  const table = () => {
    fillTable(page.table, state);
    return page.table;
  };
  const copy = button('Command4');
  if (copy)
    createCopyMenu(copy, {
      module: m,
      animation,
      graph,
      tableText: () => m.copyTableText(state.tableModel()),
      tableHtml: () => m.tableHtml(state.tableModel()),
      table,
      exportMeasures: () => {
        if (feuilleP.files) void exportMeasures(feuilleP.files);
      },
      confirm: (notice) => {
        page.info.textContent = notice ?? m.copyConfirmation;
      },
    });
  const print = button('Command10');
  if (print) createPrintDialog(print, { module: m, animation, graph, table });
  const help = createHelp(book, m.helpWindowTexts());
  button('Command7')?.addEventListener('click', () => help.open());
}

async function main(): Promise<void> {
  const m = await loadMolvane();
  const host = document.getElementById('page') ?? document.body;
  const page = buildPage(document, m, host);
  const state = new m.MainState();
  const feuilleP = new MainWindow(m, state, page);
  feuilleP.start(seedFromAddress(location.search));
  publish({
    m,
    state,
    page,
    control: (name) => page.controls.get(name) ?? null,
    refresh: () => feuilleP.refresh(),
    exportMeasures: async () => {
      if (feuilleP.files) await exportMeasures(feuilleP.files);
    },
    stop: () => feuilleP.stop(),
  });
  wireOutputs(m, state, page, feuilleP);
  document.documentElement.dataset.ready = 'true';
  const fuzz = /[?&]fuzz=(\d+(?:\.\d+)?)/.exec(location.search);
  if (fuzz) startFuzz(Number(fuzz[1]));
}

if (!currentApp()) void main();
