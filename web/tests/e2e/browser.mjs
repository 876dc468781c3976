// Debian's Chromium under Playwright, the page opened from file:// with every
// request that is not for a local file refused and counted as a failure.
import { chromium } from 'playwright-core';
import { existsSync } from 'node:fs';
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

export const pagePath = resolve(process.env.MOLVANE_PAGE ?? new URL('../../../build/web/molvane.html', import.meta.url).pathname);
export const runProgram = process.env.MOLVANE_RUN ?? resolve(new URL('../../../build/bin/molvane-run', import.meta.url).pathname);

export async function launch() {
  const executablePath = process.env.CHROMIUM ?? ['/usr/bin/chromium', '/usr/bin/chromium-browser'].find(existsSync);
  return chromium.launch({ executablePath, args: ['--no-sandbox'] });
}

/**
 * Opens the page in a fresh context. Returns the page and a record of what
 * went wrong: network requests, page errors, console errors.
 */
export async function openPage(
  browser,
  { query = '', viewport = { width: 1000, height: 750 }, scale = 1, clock = false, locale = 'en-GB' } = {},
) {
  const context = await browser.newContext({ viewport, deviceScaleFactor: scale, acceptDownloads: true, locale });
  const problems = [];
  await context.route('**/*', (route) => {
    const url = route.request().url();
    if (url.startsWith('file:') || url.startsWith('data:') || url.startsWith('blob:')) return route.continue();
    problems.push(`request: ${url}`);
    return route.abort();
  });
  const page = await context.newPage();
  page.on('pageerror', (error) => problems.push(`error: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(`console: ${message.text()}`);
  });
  if (clock) await page.clock.install();
  await page.goto(pathToFileURL(pagePath).href + query);
  await page.waitForSelector('html[data-ready="true"]', { timeout: 20000 });
  return { page, context, problems };
}
