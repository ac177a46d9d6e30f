"use strict";
// What the page tests share: folder trees made on disk, their modern pages
// made by tessary-cli, and a headless Chromium to read them in.
const {execFileSync} = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");
const puppeteer = require("puppeteer-core");

const cli = process.env.TESSARY_CLI;
if (!cli) throw new Error("TESSARY_CLI names the tessary-cli to test");

// A folder that is removed when the tests end.
function tempFolder(name) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), `tessary-${name}-`));
  process.on("exit", () => fs.rmSync(folder, {recursive: true, force: true}));
  return folder;
}

// Makes `files` below `root`: each is a path of names (a Buffer for a name
// that is not UTF-8) and the file's text. Every file is dated `date`.
function makeTree(root, files, date = new Date(2021, 2, 4, 5, 6)) {
  for (const [names, text] of files) {
    const parts = [Buffer.from(root)];
    for (const name of names) parts.push(Buffer.from("/"), Buffer.from(name));
    const file = Buffer.concat(parts);
    fs.mkdirSync(Buffer.concat(parts.slice(0, -2)), {recursive: true});
    fs.writeFileSync(file, text);
    fs.utimesSync(file, date, date);
  }
  return root;
}

// The modern page of `tree`, written beside it, with `flags` added.
function buildPage(tree, flags = [], name = "page.html") {
  const page = path.join(path.dirname(tree), name);
  execFileSync(cli, ["-q", "--template", "modern", ...flags, "-o", page, tree],
               {stdio: ["ignore", "inherit", "inherit"]});
  return page;
}

const pageTitle = (title) => `<html><head><title>${title}</title></head></html>`;

// A page of names and titles that would be markup or script (an alert) if
// written as they are, and of names that break links that are not
// encoded; written
// in the folder it maps, so that no folder comes before the names in the
// links. Its path and how many files it lists.
function hostileTree() {
  const tree = makeTree(path.join(tempFolder("hostile"), "hostile"), [
    [["<img src=x onerror=alert(1)>.html"],
     pageTitle("<script>alert(2)</script>")],
    [["<svg onload=alert(3)>", "x.txt"], "x"],
    [["javascript:alert(4).txt"], "x"],
    [["c#d.html"], pageTitle("<b onmouseover=alert(5)>b</b>")],
    [["what?.html"], pageTitle("&lt;script&gt;alert(6)&lt;/script&gt;")],
    [["100% \"quoted\" & 'single'.txt"], "x"],
    [[Buffer.from("bad\xff.txt", "latin1")], "x"],
    [["line\nbreak.pdf"], "x"],
  ]);
  const page = path.join(tree, "sitemap.html");
  execFileSync(cli, ["-q", "--template", "modern", tree]);
  return {page, names: 8};
}

// Headless Chromium as the system ships it, on a fresh profile.
async function launchBrowser() {
  const profile = tempFolder("chromium");
  const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    headless: true,
    protocolTimeout: 600000,
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update",
           "--disable-sync", `--user-data-dir=${profile}`],
  });
  return browser;
}

// A tab on `file` (and `hash`) at `width` pixels, in the light or dark
// scheme; script errors, errors on the console (what a security policy
// refused) and dialogs are kept in its `problems`.
async function openPage(browser, file, {width = 1024, dark = false,
                                        hash = "", script = true} = {}) {
  const page = await browser.newPage();
  page.problems = [];
  page.on("pageerror", (error) => page.problems.push(error.message));
  page.on("console", (message) => {
    if (message.type() === "error") page.problems.push(message.text());
  });
  page.on("dialog", async (dialog) => {
    page.problems.push(`dialog: ${dialog.message()}`);
    await dialog.dismiss();
  });
  await page.setJavaScriptEnabled(script);
  await page.setViewport({width, height: 800, isMobile: width < 500,
                          hasTouch: width < 500});
  await page.emulateMediaFeatures(
      [{name: "prefers-color-scheme", value: dark ? "dark" : "light"}]);
  await page.goto("file://" + file + hash, {waitUntil: "load"});
  return page;
}

// Types `text` into the filter box as a reader does, replacing what is
// there.
async function filter(page, text) {
  await page.click("#filter", {clickCount: 3});
  await page.keyboard.press("Backspace");
  if (text) await page.type("#filter", text);
}

// The names of the files and folders a reader sees: the texts of the
// visible links and entries, and of the visible folder names.
function visibleText(page) {
  return page.evaluate(() => {
    const seen = (element) => element.checkVisibility();
    const entries = [...document.querySelectorAll("#tree li")].filter(seen);
    const folders = [...document.querySelectorAll("#tree summary")].filter(seen);
    return {
      entries: entries.map((li) => li.querySelector("a").textContent),
      folders: folders.map((s) => s.firstChild.textContent.trim()),
      found: document.getElementById("found").textContent,
    };
  });
}

module.exports = {tempFolder, makeTree, buildPage, pageTitle, hostileTree,
                  launchBrowser, openPage, filter, visibleText};
