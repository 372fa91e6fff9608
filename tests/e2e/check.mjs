// Opens every page of the galleries named in the job file in headless
// Chromium and checks what a visitor would meet: every picture loads, tags
// give the sizes pictures show at, every link leads to a file of the gallery
// (or to its home link), and index.html shows the index or the frameset.
//   node check.mjs JOB.json ARTIFACTS_DIR

import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import zlib from 'node:zlib';
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

// The file a file: URL names, as bytes: a name that is not UTF-8 (an old
// Latin-1 name, "%E9") is found by its own bytes, as the browser finds it.
function fileOfUrl(url) {
  const bytes = [];
  const name = url.pathname;
  for (let i = 0; i < name.length; i++) {
    if (name[i] === '%' && /^[0-9a-fA-F]{2}$/.test(name.substr(i + 1, 2))) {
      bytes.push(parseInt(name.substr(i + 1, 2), 16));
      i += 2;
    } else {
      bytes.push(...Buffer.from(name[i]));
    }
  }
  return Buffer.from(bytes);
}

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
  const file = fileOfUrl(url);
  const inside = path.relative(gallery.dir, file.toString('latin1'));
  check(!inside.startsWith('..') && !path.isAbsolute(inside), `${where} leaves the gallery`);
  check(fs.existsSync(file) && fs.statSync(file).isFile(),
        `${where} leads to no file (${file.toString('latin1')})`);
}

// The pixels of a PNG screenshot (8 bits, RGB or RGBA, not interlaced, as
// Chromium writes them): { width, height, rgb(x, y) }.
function decodePng(png) {
  let pos = 8;
  let width = 0, height = 0, channels = 0;
  const idat = [];
  while (pos < png.length) {
    const length = png.readUInt32BE(pos);
    const type = png.toString('latin1', pos + 4, pos + 8);
    const data = png.subarray(pos + 8, pos + 8 + length);
    if (type === 'IHDR') {
      width = data.readUInt32BE(0);
      height = data.readUInt32BE(4);
      if (data[8] !== 8 || data[12] !== 0 || (data[9] !== 2 && data[9] !== 6)) {
        throw new Error('unexpected PNG format');
      }
      channels = data[9] === 6 ? 4 : 3;
    } else if (type === 'IDAT') {
      idat.push(data);
    }
    pos += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const stride = width * channels;
  const pixels = Buffer.alloc(stride * height);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    for (let i = 0; i < stride; i++) {
      const x = raw[y * (stride + 1) + 1 + i];
      const a = i >= channels ? pixels[y * stride + i - channels] : 0;
      const b = y > 0 ? pixels[(y - 1) * stride + i] : 0;
      const c = y > 0 && i >= channels ? pixels[(y - 1) * stride + i - channels] : 0;
      let value;
      switch (filter) {
        case 0: value = x; break;
        case 1: value = x + a; break;
        case 2: value = x + b; break;
        case 3: value = x + ((a + b) >> 1); break;
        default: {
          const p = a + b - c;
          const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
          value = x + (pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
        }
      }
      pixels[y * stride + i] = value & 255;
    }
  }
  return {
    width, height,
    rgb: (x, y) => Array.from(pixels.subarray(y * stride + x * channels, y * stride + x * channels + 3)),
  };
}

// The test pictures' quadrants as a visitor sees them: top left red, top
// right green, bottom left blue, bottom right yellow.
const QUADRANTS = [['red', [255, 0, 0]], ['green', [0, 255, 0]], ['blue', [0, 0, 255]],
                   ['yellow', [255, 255, 0]]];

function quadrantsShown(png) {
  const { width, height, rgb } = decodePng(png);
  const names = [];
  for (let q = 0; q < 4; q++) {
    const pixel = rgb(Math.floor(width * (q % 2 ? 3 : 1) / 4), Math.floor(height * (q < 2 ? 1 : 3) / 4));
    let best = 'unclear';
    let bestDistance = 200;
    for (const [name, colour] of QUADRANTS) {
      const distance = colour.reduce((sum, v, i) => sum + Math.abs(v - pixel[i]), 0);
      if (distance < bestDistance) [best, bestDistance] = [name, distance];
    }
    names.push(best);
  }
  return names.join(' ');
}

async function checkPage(page, gallery, pageName) {
  const response = await page.goto(pathToFileURL(path.join(gallery.dir, pageName)).href,
                                   { waitUntil: 'load' });
  check(response === null || response.ok(), `${gallery.name}/${pageName} opens`);
  for (const frame of page.frames()) {
    const facts = await frame.evaluate(() => ({
      charset: document.characterSet,
      // What a visitor reads: the text, the page title and the pictures' alt texts.
      text: [document.title, document.body ? document.body.innerText : '',
             ...Array.from(document.images).map((img) => img.alt)].join('\n'),
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
    // Every page says it is UTF-8 and reads as such: no replacement
    // characters, no UTF-8 read as another code page ("Ã©" for "é").
    check(facts.charset === 'UTF-8', `${at}: read as ${facts.charset}, not UTF-8`);
    const garbled = facts.text.match(/[\uFFFD\u00C3\u0102][^\n]{0,20}/);
    check(garbled === null, `${at}: garbled text "${garbled && garbled[0]}"`);
    texts.set(`${at}#${frame.name()}`, facts.text);
    for (const [i, img] of facts.images.entries()) {
      check(img.loaded, `${at}: img ${img.src} loads`);
      // The tag's size has the picture's own proportions (a picture turned
      // by its EXIF tag would otherwise be squashed into the unturned box).
      if (img.loaded && img.width !== null && img.height !== null) {
        const w = Number(img.width), h = Number(img.height);
        check(Math.abs(w - img.naturalWidth * h / img.naturalHeight) <= 1.01 ||
              Math.abs(h - img.naturalHeight * w / img.naturalWidth) <= 1.01,
              `${at}: img ${img.src} is ${img.naturalWidth}x${img.naturalHeight}, ` +
              `its tag says ${img.width}x${img.height}`);
      }
      if (img.loaded && (gallery.upright || []).some((key) => img.src.includes(key))) {
        const png = await frame.locator('img').nth(i).screenshot();
        check(quadrantsShown(png) === 'red green blue yellow',
              `${at}: img ${img.src} shows ${quadrantsShown(png)}, not upright`);
        uprightSeen.add(`${gallery.name}:${img.thumbnail ? 'thumbnail' : 'picture'}`);
      }
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
const texts = new Map();  // page#frame -> what it reads
const uprightSeen = new Set();
for (const gallery of galleries) {
  texts.clear();
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

  // The names read right where the thumbnails are shown, and the upright
  // pictures were met both as thumbnail and as picture.
  const thumbnailPages = [...texts].filter(([at]) => /\/page\d+\.html#/.test(at))
    .map(([, text]) => text.normalize('NFC')).join('\n');
  for (const name of gallery.names || []) {
    check(thumbnailPages.includes(name.normalize('NFC')),
          `${gallery.name}: the thumbnail pages read "${name}"`);
  }
  if ((gallery.upright || []).length > 0) {
    for (const kind of ['thumbnail', 'picture']) {
      check(uprightSeen.has(`${gallery.name}:${kind}`),
            `${gallery.name}: an upright ${kind} was checked`);
    }
  }

  for (const [pageName, file] of gallery.screenshots || []) {
    await page.goto(pathToFileURL(path.join(gallery.dir, pageName)).href, { waitUntil: 'load' });
    await page.screenshot({ path: path.join(artifacts, file), fullPage: true });
  }
}
await context.close();
fs.rmSync(userDataDir, { recursive: true, force: true });

for (const failure of failures) console.error(`FAIL ${failure}`);
console.log(`browser checks: ${passed} passed, ${failures.length} failed`);
process.exit(failures.length === 0 ? 0 : 1);
