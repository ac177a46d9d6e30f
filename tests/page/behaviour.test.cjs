"use strict";
// The modern page as a reader uses it in Chromium: a tree that folds, a
// filter that finds names, titles and folders, a page that fits a phone
// and follows a dark system, and names that cannot become script.
const assert = require("assert/strict");
const crypto = require("crypto");
const fs = require("fs");
const path = require("path");
const {after, before, describe, test} = require("node:test");
const {tempFolder, makeTree, buildPage, pageTitle, hostileTree, launchBrowser,
       openPage, filter, visibleText} = require("./support.cjs");

// Six files in four folders. No name or title holds "kib" or "2021",
// which the sizes and dates show.
const kSite = [
  [["index.html"], pageTitle("Welcome home")],
  [["notes.txt"], "x".repeat(3500)],
  [["docs", "intro.html"], pageTitle("User Guide")],
  [["docs", "api", "ref.html"], pageTitle("Reference")],
  [["docs", "api", "types.txt"], "types"],
  [["photos", "beach.pdf"], "jpeg"],
];

let browser, site, sitePage, collapsedPage;
before(async () => {
  const top = tempFolder("site");
  site = makeTree(path.join(top, "site"), kSite);
  sitePage = buildPage(site);
  collapsedPage = buildPage(site, ["--collapsed"], "collapsed.html");
  browser = await launchBrowser();
});
after(() => browser?.close());

const summaryOf = (page, folder) => page.evaluateHandle(
    (name) => [...document.querySelectorAll("#tree summary")]
                  .find((s) => s.firstChild.textContent.trim() === name),
    folder);

describe("the tree", () => {
  test("nests each folder in its parent, so closing one hides all below it",
       async () => {
    const page = await openPage(browser, sitePage);
    await (await summaryOf(page, "docs")).click();
    const view = await visibleText(page);
    assert.deepEqual(view.entries,
                     ["Welcome home", "notes.txt", "beach.pdf"]);
    assert.deepEqual(view.folders, ["site", "docs", "photos"]);
    assert.deepEqual(page.problems, []);
  });

  test("counts each folder's files, all below it, and the totals",
       async () => {
    const page = await openPage(browser, sitePage);
    const counts = await page.$$eval("#tree summary .count",
                                     (spans) => spans.map((s) => s.textContent));
    assert.deepEqual(counts, ["2 files \u00b7 6 in all", "1 file \u00b7 3 in all",
                              "2 files", "1 file"]);
    const footer = await page.$eval("footer", (f) => f.textContent);
    assert.match(footer, /6 files in 4 folders/);
    assert.match(footer, /This webpage generated using Tessary by Corvale Software/);
    assert.equal(await page.$$eval("footer a", (links) => links.length), 0);
  });

  test("is whole without script, with the filter hidden", async () => {
    const page = await openPage(browser, sitePage, {script: false});
    assert.equal(await page.$eval(".filter", (p) => p.checkVisibility()), false);
    assert.equal((await visibleText(page)).entries.length, 6);
  });

  test("opens only the base folder when collapsed", async () => {
    const page = await openPage(browser, collapsedPage);
    const view = await visibleText(page);
    assert.deepEqual(view.entries, ["Welcome home", "notes.txt"]);
    assert.deepEqual(view.folders, ["site", "docs", "photos"]);
  });
});

describe("the filter", () => {
  test("finds names, titles and folder names, and counts what it shows",
       async () => {
    const page = await openPage(browser, sitePage);
    await filter(page, "user GUIDE");  // a title, in any letter case
    assert.deepEqual(await visibleText(page), {
      entries: ["User Guide"], folders: ["site", "docs"],
      found: "1 of 6 files"});
    await filter(page, "intro");  // a name that only the link shows
    assert.deepEqual((await visibleText(page)).entries, ["User Guide"]);
    await filter(page, "api");  // a folder, with all it holds
    assert.deepEqual(await visibleText(page), {
      entries: ["Reference", "types.txt"], folders: ["site", "docs", "api"],
      found: "2 of 6 files"});
    assert.deepEqual(page.problems, []);
  });

  test("never matches sizes or dates", async () => {
    const page = await openPage(browser, sitePage);
    for (const query of ["kib", "2021", "05:06"]) {
      await filter(page, query);
      assert.deepEqual(await visibleText(page),
                       {entries: [], folders: [], found: "No matches"}, query);
    }
  });

  test("opens the folders on the way, and Escape restores them", async () => {
    const page = await openPage(browser, collapsedPage);
    await filter(page, "reference");
    assert.deepEqual(await visibleText(page), {
      entries: ["Reference"], folders: ["site", "docs", "api"],
      found: "1 of 6 files"});
    await page.keyboard.press("Escape");
    assert.equal(await page.$eval("#filter", (box) => box.value), "");
    assert.deepEqual(await visibleText(page), {
      entries: ["Welcome home", "notes.txt"],
      folders: ["site", "docs", "photos"], found: ""});
  });

  test("returns a folder the reader closed to closed", async () => {
    const page = await openPage(browser, sitePage);
    await (await summaryOf(page, "photos")).click();
    await filter(page, "beach");
    assert.deepEqual((await visibleText(page)).entries, ["beach.pdf"]);
    await page.keyboard.press("Escape");
    assert.equal(await (await summaryOf(page, "photos")).evaluate(
        (summary) => summary.parentElement.open), false);
    assert.equal((await visibleText(page)).entries.length, 5);
  });

  test("finds files in every list of a long folder", async () => {
    const long = Array.from({length: 600},
                            (_, i) => [[`f${String(i).padStart(3, "0")}.txt`], ""]);
    const page = await openPage(browser, buildPage(
        makeTree(path.join(tempFolder("long"), "long"), long)));
    await filter(page, "f599");
    assert.deepEqual(await visibleText(page), {
      entries: ["f599.txt"], folders: ["long"], found: "1 of 600 files"});
  });

  test("keeps its text in the address, and a page opened with it filters",
       async () => {
    const page = await openPage(browser, sitePage);
    await filter(page, "user guide");
    await page.waitForFunction(() => location.hash === "#q=user%20guide");
    const opened = await openPage(browser, sitePage, {hash: "#q=Reference"});
    assert.equal(await opened.$eval("#filter", (box) => box.value),
                 "Reference");
    assert.deepEqual(await visibleText(opened), {
      entries: ["Reference"], folders: ["site", "docs", "api"],
      found: "1 of 6 files"});
  });
});

describe("the page's look", () => {
  // Long names, a long title and folders twelve deep.
  const deep = Array.from({length: 12}, (_, i) => `level-${i}`);
  const long = "a-name-with-no-place-to-break-".repeat(8) + ".txt";
  let narrowPage;
  before(() => {
    const top = tempFolder("narrow");
    const tree = makeTree(path.join(top, "narrow"), [
      [[...deep, long], "x"],
      [[...deep, "t.html"], pageTitle("A title that goes on ".repeat(12))],
      [["z.txt"], "x"],
    ]);
    narrowPage = buildPage(tree);
  });

  test("fits a phone: nothing scrolls sideways, indents stop growing",
       async () => {
    const page = await openPage(browser, narrowPage, {width: 375});
    assert.equal(await page.evaluate(
        () => document.documentElement.scrollWidth), 375);
    const lefts = await page.$$eval("#tree summary",
        (all) => all.map((s) => Math.round(s.getBoundingClientRect().left)));
    assert.ok(lefts[12] === lefts[6], `indents: ${lefts}`);
    assert.ok(lefts[6] > lefts[1], `indents: ${lefts}`);
  });

  test("follows a dark system, unless the page sets its colours",
       async () => {
    const colours = async (file, dark) => {
      const page = await openPage(browser, file, {dark});
      return page.$eval("body", (body) => {
        const style = getComputedStyle(body);
        return [style.backgroundColor, style.color];
      });
    };
    assert.deepEqual(await colours(sitePage, true),
                     ["rgb(18, 18, 18)", "rgb(232, 232, 232)"]);
    assert.deepEqual(await colours(sitePage, false),
                     ["rgba(0, 0, 0, 0)", "rgb(0, 0, 0)"]);
    const coloured = buildPage(site, ["--color", "text=336699"],
                               "coloured.html");
    assert.deepEqual(await colours(coloured, true),
                     ["rgba(0, 0, 0, 0)", "rgb(51, 102, 153)"]);
  });

  test("is in its language, in landmarks, with no style attribute",
       async () => {
    const page = await openPage(browser, buildPage(
        site, ["--lang", "de-CH", "--bullets", "--lines", "--color",
               "folder=990000", "--font", "Georgia"], "options.html"));
    assert.equal(await page.$eval("html", (html) => html.lang), "de-CH");
    assert.equal(await page.$$eval("header h1, header #filter, main #tree, " +
                                   "footer", (found) => found.length), 4);
    await filter(page, "e");
    assert.deepEqual(await page.$$eval("style, script, [style]",
                                       (all) => all.map((e) => e.tagName)),
                     ["STYLE", "SCRIPT"]);
  });

  // A site that allows the page's one style sheet and one script by their
  // hashes, and nothing else, still shows the page whole and filters it.
  test("works under a Content-Security-Policy that allows only its hashes",
       async () => {
    const text = fs.readFileSync(sitePage, "utf8");
    const hash = (tag) => {
      const start = text.indexOf(`<${tag}>`) + tag.length + 2;
      const content = text.slice(start, text.indexOf(`</${tag}>`, start));
      return `'sha256-${crypto.createHash("sha256").update(content)
                                .digest("base64")}'`;
    };
    const policy = `default-src 'none'; style-src ${hash("style")}; ` +
                   `script-src ${hash("script")}`;
    const strict = path.join(path.dirname(sitePage), "strict.html");
    fs.writeFileSync(strict, text.replace(
        "<head>\n", `<head>\n<meta http-equiv="Content-Security-Policy" ` +
                    `content="${policy}">\n`));
    const page = await openPage(browser, strict);
    await page.evaluate(() => {
      window.refused = [];
      document.addEventListener("securitypolicyviolation",
                                (event) => window.refused.push(event.blockedURI));
    });
    await filter(page, "reference");
    assert.deepEqual(await visibleText(page), {
      entries: ["Reference"], folders: ["site", "docs", "api"],
      found: "1 of 6 files"});
    assert.equal(await page.$eval("#tree li", (li) => getComputedStyle(li).display),
                 "none");
    assert.deepEqual(await page.evaluate(() => window.refused), []);
    assert.deepEqual(page.problems, []);
  });
});

describe("hostile names", () => {
  let hostilePage, names;
  before(() => {
    ({page: hostilePage, names} = hostileTree());
  });

  test("run no script, loaded or filtered", async () => {
    const page = await openPage(browser, hostilePage);
    for (const query of ["<", "script", "alert", "'", "\"", ""]) {
      await filter(page, query);
      for (const link of await page.$$("#tree a")) {
        if (await link.evaluate((a) => a.checkVisibility())) await link.hover();
      }
    }
    assert.deepEqual(page.problems, []);
  });

  test("every link leads to its file", async () => {
    const page = await openPage(browser, hostilePage);
    const hrefs = await page.$$eval("#tree a", (links) => links.map((a) => a.href));
    assert.equal(hrefs.length, names);
    for (const href of hrefs) {
      // Each byte of the file's path, as the browser asks for it.
      const file = Buffer.from(new URL(href).pathname.replace(
          /%([0-9A-F]{2})/gi, (_, hex) => String.fromCharCode(parseInt(hex, 16))),
          "latin1");
      assert.ok(fs.existsSync(file), href);
    }
  });
});
