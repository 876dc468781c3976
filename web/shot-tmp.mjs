import { chromium } from "playwright-core";
const [,, file, scale, out, w, h, action] = process.argv;
const b = await chromium.launch({ executablePath: "/usr/bin/chromium", args: ["--no-sandbox"] });
const p = await b.newPage({ viewport: { width: Number(w||1280), height: Number(h||800) }, deviceScaleFactor: Number(scale || 1) });
const errs = []; p.on("console", m => { if (m.type() === "error") errs.push(m.text()); }); p.on("pageerror", e => errs.push(String(e)));
await p.goto("file://" + file); await p.waitForTimeout(2500);
if (action === "exos") { await p.click('[data-control="btexo"]'); await p.waitForTimeout(500); }
if (action === "fichexo") { await p.click('[data-control="btexo"]'); await p.waitForTimeout(300); await p.keyboard.press("Enter"); await p.waitForTimeout(800); }
if (action === "calc") { await p.click('[data-control="Command8"]'); await p.waitForTimeout(800); }
if (action === "help") { await p.click('[data-control="Command7"]'); await p.waitForTimeout(800); }
await p.screenshot({ path: out }); console.log("errors", errs); await b.close();
