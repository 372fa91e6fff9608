// Opens every page of the galleries named in the job file in headless
// Chromium and checks what a visitor would meet: every picture loads, tags
// give the sizes pictures show at, every link leads to a file of the gallery
// (or to its home link), and index.html shows the index or the frameset.
//   node check.mjs JOB.json ARTIFACTS_DIR

import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL, fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const [jobFile, artifacts] = process.argv.slice(2);
const galleries = JSON.parse(fs.readFileSync(jobFile, 'utf8'));
fs.mkdirSync(artifacts, { recursive: true });

let passed = 0;
const failures = [];
function check(ok, what) {
  if (ok) passed++;
  else failures.push(what);
}

const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'zelvora-chromium-'));
const context = await chromium.launchPersistentContext(userDataDir, {
  executablePath: '/usr/bin/chromium',
  headless: true,
  viewport: { width: 1024, height: 768 },
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

// A link target inside the gallery folder that exists, or the home link.
function checkTarget(gallery, pageName, raw, resolved) {
  if (gallery.home && raw === gallery.home) return;
  const where = `${gallery.name}/${pageName}: link ${raw}`;
  if (!resolved.startsWith('file:')) {
    check(false, `${where} leaves the gallery`);
    return;
  }
  const url = new URL(resolved);
  url.hash = '';
  url.search = '';
  let file;
  try {
    file = fileURLToPath(url);
  } catch {
    check(false, `${where} is no file path`);
    return;
  }
  const inside = path.relative(gallery.dir, file);
  check(!inside.startsWith('..') && !path.isAbsolute(inside), `${where} leaves the gallery`);
  check(fs.existsSync(file) && fs.statSync(file).isFile(), `${where} leads to no file (${file})`);
}

async function checkPage(page, gallery, pageName) {
  const response = await page.goto(pathToFileURL(path.join(gallery.dir, pageName)).href,
                                   { waitUntil: 'load' });
  check(response === null || response.ok(), `${gallery.name}/${pageName} opens`);
  for (const frame of page.frames()) {
    const facts = await frame.evaluate(() => ({
      images: Array.from(document.images).map((img) => ({
        src: img.getAttribute('src'),
        loaded: img.complete && img.naturalWidth > 0,
        width: img.getAttribute('width'),
        height: img.getAttribute('height'),
        shownWidth: img.getBoundingClientRect().width,
        shownHeight: img.getBoundingClientRect().height,
        naturalWidth: img.naturalWidth,
        naturalHeight: img.naturalHeight,
        thumbnail: img.closest('td.thumbcell') !== null,
      })),
      links: Array.from(document.querySelectorAll('a[href]')).map((a) => ({
        raw: a.getAttribute('href'),
        resolved: a.href,
      })),
      frames: Array.from(document.querySelectorAll('frame')).map((f) => ({
        raw: f.getAttribute('src'),
        resolved: new URL(f.getAttribute('src'), document.baseURI).href,
      })),
    }));
    const at = `${gallery.name}/${pageName}`;
    for (const img of facts.images) {
      check(img.loaded, `${at}: img ${img.src} loads`);
      if (img.width !== null && img.height !== null) {
        check(Math.round(img.shownWidth) === Number(img.width) &&
              Math.round(img.shownHeight) === Number(img.height),
              `${at}: img ${img.src} shows at ${img.shownWidth}x${img.shownHeight}, ` +
              `its tag says ${img.width}x${img.height}`);
      }
      if (img.thumbnail) {
        check(img.naturalWidth === Number(img.width) && img.naturalHeight === Number(img.height),
              `${at}: thumbnail ${img.src} is ${img.naturalWidth}x${img.naturalHeight}, ` +
              `its tag says ${img.width}x${img.height}`);
      }
    }
    for (const link of facts.links) checkTarget(gallery, pageName, link.raw, link.resolved);
    for (const f of facts.frames) checkTarget(gallery, pageName, f.raw, f.resolved);
  }
}

const page = await context.newPage();
for (const gallery of galleries) {
  const pages = fs.readdirSync(gallery.dir).filter((n) => n.endsWith('.html')).sort();
  check(pages.includes('index.html'), `${gallery.name}: index.html exists`);
  check(pages.includes('pageindex.html') === gallery.frames,
        `${gallery.name}: pageindex.html exists exactly with frames`);
  for (const name of pages) await checkPage(page, gallery, name);

  // The start page: the frameset with the index beside page 1, or the index.
  await page.goto(pathToFileURL(path.join(gallery.dir, 'index.html')).href, { waitUntil: 'load' });
  if (gallery.frames) {
    const names = page.frames().map((f) => f.name());
    check(names.includes('pageindex') && names.includes('gallerypage'),
          `${gallery.name}: index.html shows both frames (${names})`);
    const main = page.frames().find((f) => f.name() === 'gallerypage');
    check(main && main.url().endsWith('/page1.html'), `${gallery.name}: main frame shows page 1`);
    const cells = main ? await main.locator('td.thumbcell').count() : 0;
    check(cells > 0, `${gallery.name}: page 1 in the frame shows thumbnails`);
    const index = page.frames().find((f) => f.name() === 'pageindex');
    const links = index ? await index.locator('a[target="gallerypage"]').count() : 0;
    check(links === gallery.pages, `${gallery.name}: index frame links ${links} pages`);
  } else {
    const links = await page.locator('a[href^="page"]').count();
    check(links === gallery.pages, `${gallery.name}: index.html links ${links} pages`);
  }

  if (gallery.screenshots) {
    await page.goto(pathToFileURL(path.join(gallery.dir, 'page1.html')).href, { waitUntil: 'load' });
    await page.screenshot({ path: path.join(artifacts, 'thumbnail-page.png'), fullPage: true });
    await page.goto(pathToFileURL(path.join(gallery.dir, 'image1.html')).href, { waitUntil: 'load' });
    await page.screenshot({ path: path.join(artifacts, 'image-page.png'), fullPage: true });
  }
}
await context.close();
fs.rmSync(userDataDir, { recursive: true, force: true });

for (const failure of failures) console.error(`FAIL ${failure}`);
console.log(`browser checks: ${passed} passed, ${failures.length} failed`);
process.exit(failures.length === 0 ? 0 : 1);
