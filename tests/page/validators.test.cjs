"use strict";
// The modern page through the checkers people use: html-validate with its
// recommended rules, the Nu HTML checker, tidy, and axe-core in Chromium
// in both colour schemes. On the page of the 100,000-file bench tree, a
// page of hostile names, and a page with every option of the classic page;
// axe-core, which takes more than 25 minutes over the 100,000-file page,
// reads the page of the bench tree's 1,000-file size instead.
const assert = require("assert/strict");
const {execFileSync, spawnSync} = require("child_process");
const fs = require("fs");
const path = require("path");
const {after, before, test} = require("node:test");
const {HtmlValidate, StaticConfigLoader} = require("html-validate");
const {tempFolder, makeTree, buildPage, pageTitle, hostileTree, launchBrowser,
       openPage} = require("./support.cjs");

const pages = {};
before(() => {
  pages.hostile = hostileTree().page;
  const options = makeTree(path.join(tempFolder("options"), "options"), [
    [["index.html"], pageTitle("Home")],
    [["a", "b", "notes.txt"], "notes"],
  ]);
  pages.options = buildPage(options, [
    "--bullets", "--lines", "--no-indent", "--font", "Georgia",
    "--banner", "banner.png", "--banner-align", "center",
    "--title-align", "Center", "--title-size", "+2", "--folder-size", "+1",
    "--color", "background=FFFFF0", "--color", "text=202020",
    "--color", "link=0000AA", "--color", "vlink=551A8B",
    "--color", "title=003366", "--color", "folder=663300",
    "--background-image", "paper.png", "--lang", "fr", "--collapsed"]);
  const benchTree = path.join(__dirname, "../../bench/make_tree.py");
  for (const size of ["100k", "1k"]) {
    const bench = path.join(tempFolder("bench"), "bench");
    execFileSync("python3", [benchTree, "--size", size, bench]);
    pages[`bench ${size}`] = buildPage(bench);
    fs.rmSync(bench, {recursive: true});
  }
});

test("html-validate finds nothing against its recommended rules",
     async () => {
  const validator = new HtmlValidate(new StaticConfigLoader(
      {extends: ["html-validate:recommended"]}));
  for (const [name, page] of Object.entries(pages)) {
    const report = await validator.validateFile(page);
    const messages = report.results.flatMap((result) => result.messages)
        .slice(0, 20).map((m) => `${m.line}:${m.column} ${m.ruleId}: ${m.message}`);
    assert.equal(report.valid, true, `${name}:\n${messages.join("\n")}`);
  }
});

test("the Nu HTML checker finds no error", () => {
  const vnu = require.resolve("vnu-jar/build/dist/vnu.jar");
  const run = spawnSync("java", ["-jar", vnu, "--errors-only",
                                 ...Object.values(pages)],
                        {encoding: "utf8"});
  assert.equal(run.error, undefined);
  assert.equal(run.status, 0, run.stderr);
});

test("tidy finds no error", () => {
  for (const [name, page] of Object.entries(pages)) {
    const run = spawnSync("tidy", ["-e", "-q", page], {encoding: "utf8"});
    assert.ok(run.status === 0 || run.status === 1,  // 1: warnings
              `${name}: ${run.stderr}`);
  }
});

let browser;
after(() => browser?.close());

test("axe-core finds no violation, light or dark", async () => {
  browser = await launchBrowser();
  const axe = fs.readFileSync(require.resolve("axe-core/axe.min.js"), "utf8");
  for (const [name, file] of Object.entries(pages)) {
    if (name === "bench 100k") continue;
    for (const dark of [false, true]) {
      const page = await openPage(browser, file, {dark});
      await page.evaluate(axe);
      const violations = await page.evaluate(async () =>
        (await window.axe.run(document, {resultTypes: ["violations"]}))
            .violations.map((v) => `${v.id}: ${v.nodes[0].html}`));
      assert.deepEqual(violations, [], `${name}, ${dark ? "dark" : "light"}`);
      await page.close();
    }
  }
});
