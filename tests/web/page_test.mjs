// The web page in headless Chromium, as a person would meet it: the start question, the show in
// a window (loading screen, opening picture, sound, 60 frames a second, Escape back to the start),
// full screen, the end marker, the capture mode against the native build's frames, and a missing
// data file.
//
//   node page_test.mjs --dist DIR --data DIR --packager FILE --whole-show-test FILE
//                      [--native-log FILE] [--shots DIR]
//
// --dist: the built page; --data: the native content (damaged copies are packed from it with
// emscripten's --packager); --whole-show-test: the end-to-end test whose looked-at frames the
// capture mode must match; --native-log: the native capture's frame log at 5 frames a second,
// which the capture mode's must equal line for line; --shots: where screenshots go.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { after, before, test } from "node:test";
import { parseArgs } from "node:util";
import puppeteer from "puppeteer-core";

const { values: options } = parseArgs({
  options: {
    dist: { type: "string" },
    data: { type: "string" },
    packager: { type: "string" },
    "whole-show-test": { type: "string" },
    "native-log": { type: "string" },
    shots: { type: "string" },
  },
});
for (const name of ["dist", "data", "packager", "whole-show-test"])
  if (!options[name]) throw new Error(`page_test: --${name} is missing`);

// Frames the end-to-end test looks at, by written frame number at 5 frames a second.
const kCaptureFps = 5;
const lookedAt = new Map(
  [...fs.readFileSync(options["whole-show-test"], "utf8").matchAll(/\{\s*([0-9 +]+),\s*"([0-9a-f]{16})"\s*\}/g)].map(
    ([, frame, checksum]) => [frame.split("+").reduce((sum, term) => sum + Number(term), 0), checksum],
  ),
);
// The loading screen with all twelve blocks of its bar.
const kLoadingScreenFrame = 12;
const kFirstEffect = "Opening picture";

// --- A static server on the loopback, one folder per site ----------------------------------------

const types = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".wasm": "application/wasm" };
const sites = new Map(); // first path part -> folder

const server = http.createServer((request, response) => {
  const parts = decodeURIComponent(new URL(request.url, "http://page").pathname).split("/").filter(Boolean);
  const folder = sites.get(parts.shift());
  const file = folder && path.join(folder, ...(parts.length ? parts : ["index.html"]));
  if (!file || !file.startsWith(folder + path.sep) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
    response.writeHead(404);
    response.end();
    return;
  }
  response.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
  fs.createReadStream(file).pipe(response);
});

let scratch;
let browser;
let base;

// A copy of the page whose data package lacks one file: a deployment missing its data.
function siteWithout(name) {
  const folder = path.join(scratch, "without-" + name);
  const data = path.join(folder + "-data");
  fs.mkdirSync(folder, { recursive: true });
  fs.cpSync(options.data, data, { recursive: true });
  fs.rmSync(path.join(data, name));
  for (const file of fs.readdirSync(options.dist)) fs.copyFileSync(path.join(options.dist, file), path.join(folder, file));
  const loader = path.join(scratch, "loader-" + name + ".js");
  execFileSync(options.packager, [path.join(folder, "halcyonvectrum.data"), "--preload", data + "@/data",
    "--exclude", "*/.forged", "--js-output=" + loader, "--separate-metadata", "--no-node"], { stdio: "pipe" });
  fs.copyFileSync(loader + ".metadata", path.join(folder, "halcyonvectrum-data.js.metadata"));
  sites.set("without-" + name, folder);
  return `${base}without-${name}/`;
}

// A copy of the page without its data package at all: a deployment that forgot it.
function siteWithoutPackage() {
  const folder = path.join(scratch, "without-package");
  fs.mkdirSync(folder, { recursive: true });
  for (const file of fs.readdirSync(options.dist))
    if (file !== "halcyonvectrum.data") fs.copyFileSync(path.join(options.dist, file), path.join(folder, file));
  sites.set("without-package", folder);
  return `${base}without-package/`;
}

before(async () => {
  scratch = fs.mkdtempSync(path.join(os.tmpdir(), "hv-page-test-"));
  sites.set("page", path.resolve(options.dist));
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  base = `http://127.0.0.1:${server.address().port}/`;
  browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    headless: true,
    userDataDir: path.join(scratch, "profile"),
    // This machine's network is closed: nothing may reach out on its own.
    args: ["--no-sandbox", "--enable-unsafe-swiftshader", "--autoplay-policy=no-user-gesture-required",
      "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
      "--disable-component-update", "--disable-sync"],
  });
  if (options.shots) fs.mkdirSync(options.shots, { recursive: true });
});

after(async () => {
  if (browser) await browser.close();
  server.close();
  if (scratch) fs.rmSync(scratch, { recursive: true, force: true });
});

// A page at 1280x960 that collects its console errors and uncaught exceptions.
async function openPage(url) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 960 });
  const errors = [];
  page.on("console", (message) => {
    if (message.type() === "error") errors.push("console: " + message.text());
  });
  page.on("pageerror", (error) => errors.push("uncaught: " + error.message));
  await page.goto(url);
  return { page, errors };
}

const watch = (page) => page.evaluate(() => ({ ...window.halcyonvectrum, audio: window.halcyonvectrum.audioState() }));

// Polls the page's state until `done` says yes; fails with the last state after `seconds`.
async function waitFor(page, seconds, done, what) {
  const until = Date.now() + seconds * 1000;
  let state;
  for (;;) {
    state = await watch(page);
    if (done(state)) return state;
    if (Date.now() > until) assert.fail(`${what}: not within ${seconds} s; the page says ${JSON.stringify({ ...state, log: state.log.length, firstChecksums: state.firstChecksums.length })}`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

async function shoot(page, name) {
  if (options.shots) await page.screenshot({ path: path.join(options.shots, name) });
}

test("the start page asks the question with its three buttons", async () => {
  const { page, errors } = await openPage(`${base}page/`);
  assert.equal(await page.$eval("h1", (e) => e.textContent), "halcyonvectrum by zelka");
  assert.equal(await page.$eval("#question", (e) => e.textContent), "Do you want to run halcyonvectrum in fullscreen mode?");
  assert.deepEqual(await page.$$eval("#start button", (list) => list.map((e) => e.textContent)), ["Full screen", "In a window", "Cancel"]);
  await shoot(page, "01-start.png");
  await page.click("#cancel");
  assert.equal((await watch(page)).state, "start");
  assert.equal(await page.$eval("#question", (e) => e.hidden), true);
  assert.deepEqual(errors, []);
  await page.close();
});

test("in a window: the loading screen, the opening picture with its sound at 60 frames a second, and Escape", async () => {
  const { page, errors } = await openPage(`${base}page/`);
  await page.click("#window");
  await waitFor(page, 60, (s) => s.frames > 0, "the loading screen");
  await shoot(page, "02-loading.png");
  let state = await waitFor(page, 60, (s) => s.effect === kFirstEffect, "the opening picture");
  assert.equal(state.firstChecksums[kLoadingScreenFrame], lookedAt.get(kLoadingScreenFrame), "the loading screen with its full bar");
  assert.equal(state.audio, "running", "the AudioContext");

  // The picture fades in over its first seconds: then it is more than a black screen.
  await new Promise((resolve) => setTimeout(resolve, 3000));
  const first = await watch(page);
  await new Promise((resolve) => setTimeout(resolve, 3000));
  const second = await watch(page);
  const rate = (second.frames - first.frames) / 3;
  console.log(`# frames a second in the page: ${rate.toFixed(1)}`);
  assert.ok(rate >= 45 && rate <= 63, `about 60 frames a second, not ${rate}`);
  assert.equal(second.effect, kFirstEffect);
  assert.notEqual(second.checksum, state.firstChecksums[kLoadingScreenFrame + 1], "a picture, not the black screen");
  await shoot(page, "03-opening-picture.png");

  await page.keyboard.press("Escape");
  state = await waitFor(page, 10, (s) => s.state === "start", "the start buttons after Escape");
  assert.equal(state.exitCode, 0);
  assert.equal(await page.$eval("#start", (e) => e.hidden), false);
  assert.equal(await page.$eval("#stage", (e) => e.hidden), true);
  assert.deepEqual(errors, []);
  await page.close();
});

test("full screen: the show fills the screen at 4:3, F11 goes back to the page, Escape to the start buttons", async () => {
  const { page, errors } = await openPage(`${base}page/`);
  const fullscreen = () => page.evaluate(() => (document.fullscreenElement ? document.fullscreenElement.id : ""));
  await page.click("#fullscreen");
  await waitFor(page, 60, (s) => s.frames > 0, "the first frame");
  await page.waitForFunction(() => document.fullscreenElement !== null, { timeout: 10000 });
  assert.equal(await fullscreen(), "stage");
  const box = await page.$eval("#canvas", (e) => e.getBoundingClientRect().toJSON());
  const screen = await page.evaluate(() => [window.innerWidth, window.innerHeight]);
  assert.ok(Math.abs(box.width * 3 - box.height * 4) <= 4, `a 4:3 canvas, not ${box.width}x${box.height}`);
  assert.ok(box.width === screen[0] || box.height === screen[1], `as large as the screen ${screen}, not ${box.width}x${box.height}`);

  await page.keyboard.press("F11");
  await page.waitForFunction(() => document.fullscreenElement === null, { timeout: 10000 });
  const shown = (await watch(page)).frames;
  const state = await waitFor(page, 10, (s) => s.frames > shown + 10, "the show going on in the page");
  assert.equal(state.state, "running");

  await page.keyboard.press("Escape");
  await waitFor(page, 10, (s) => s.state === "start", "the start buttons after Escape");
  assert.equal(await fullscreen(), "");
  assert.deepEqual(errors, []);
  await page.close();
});

test("a show started later on reaches the end marker and returns to the start buttons", async () => {
  // At 5 steps a second the run up to the tunnel and to the closing picture takes seconds.
  const { page, errors } = await openPage(`${base}page/?fps=5&start-sync=32`);
  await page.click("#window");
  await waitFor(page, 120, (s) => s.effect === "Tunnel" && s.frames > 40, "the tunnel");
  await shoot(page, "04-tunnel.png");
  await page.keyboard.press("Escape");
  await waitFor(page, 10, (s) => s.state === "start", "the start buttons after Escape");

  await page.goto(`${base}page/?fps=5&start-sync=74`);
  await page.click("#window");
  await waitFor(page, 120, (s) => s.effect === "Closing picture", "the closing picture");
  await shoot(page, "05-closing-picture.png");
  const state = await waitFor(page, 60, (s) => s.state === "start", "the start buttons after the end marker");
  assert.equal(state.exitCode, 0);
  assert.deepEqual(errors, []);
  await page.close();
});

test("the capture mode draws the frames the native build draws", async () => {
  const started = Date.now();
  const { page, errors } = await openPage(`${base}page/?capture&fps=${kCaptureFps}`);
  const state = await waitFor(page, 600, (s) => s.exitCode !== null, "the end of the capture");
  assert.equal(state.exitCode, 0);
  const lines = state.log.map((line) => line.split(" "));
  console.log(`# capture at ${kCaptureFps} frames a second: ${lines.length} frames in ${((Date.now() - started) / 1000).toFixed(1)} s`);
  assert.ok(lookedAt.size >= 10, "the looked-at frames were found in the end-to-end test");
  for (const [frame, checksum] of lookedAt) {
    assert.ok(frame < lines.length, `frame ${frame} was captured`);
    assert.equal(lines[frame][4], checksum, `frame ${frame} (${lines[frame].slice(5).join(" ")})`);
  }
  assert.equal(lines.at(-1)[2], "128", "the end marker is the last frame");

  // Every other frame too: the show's maths rounds alike everywhere, so the frame logs are equal.
  if (options["native-log"]) {
    const native = fs.readFileSync(options["native-log"], "utf8").split("\n").filter((l) => l && !l.startsWith("#"));
    assert.equal(lines.length, native.length, "as many frames as the native capture");
    const differing = native.filter((line, i) => line !== state.log[i]);
    console.log(`# frames that differ from the native build's: ${differing.length} of ${native.length}`);
    assert.deepEqual(differing.slice(0, 5), [], "the native build's frame log, line for line");
  }
  assert.deepEqual(errors, []);
  await page.close();
});

test("a missing data file shows its error text in the page", async (t) => {
  const cases = [
    { file: "320girl2.jpg", title: "BGL error!", text: "JPG: File not found" },
    { file: "halcyver.xm", title: "MIDAS Error", text: 'Unable to open file "data/halcyver.xm": No such file or directory' },
  ];
  for (const { file, title, text } of cases) {
    await t.test(file, async () => {
      const { page } = await openPage(siteWithout(file));
      await page.click("#window");
      const state = await waitFor(page, 60, (s) => s.exitCode !== null, "the end of the show");
      assert.equal(state.exitCode, 1);
      assert.deepEqual(state.error, { title, text });
      assert.equal(await page.$eval("#message", (e) => e.hidden), false);
      assert.equal(await page.$eval("#message-title", (e) => e.textContent), title);
      assert.equal(await page.$eval("#message-text", (e) => e.textContent), text);
      await shoot(page, `06-missing-${file}.png`);
      await page.click("#message-ok");
      assert.equal(await page.$eval("#start", (e) => e.hidden), false);
      await page.close();
    });
  }
  await t.test("the whole package", async () => {
    const { page } = await openPage(siteWithoutPackage());
    await page.click("#window");
    const state = await waitFor(page, 60, (s) => s.state === "error", "the message");
    assert.deepEqual(state.error, { title: "halcyonvectrum", text: "could not load halcyonvectrum.data (404 Not Found)" });
    assert.equal(await page.$eval("#message", (e) => e.hidden), false);
    assert.equal(await page.$eval("#start", (e) => e.hidden), true, "the message alone, as for the other errors");
    await shoot(page, "06-missing-package.png");
    await page.click("#message-ok");
    assert.equal(await page.$eval("#start", (e) => e.hidden), false);
    await page.close();
  });
});
