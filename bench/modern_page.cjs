// Times the modern page against a floor page of the same links in one
// plain list, in one headless Chromium: load to interactive, and the
// filter from the input event to the next painted frame for each query,
// against the floor page's naive filter (every entry's text read and its
// style set, one at a time). Medians of interleaved rounds. Queries are
// typed a second after load, once the modern page has prepared its texts
// in idle time.
//
//   node bench/modern_page.cjs FLOOR.html MODERN.html [ROUNDS]
"use strict";
const fs = require("fs");
const os = require("os");
const path = require("path");
const {createRequire} = require("module");
const puppeteer = createRequire(
    path.join(__dirname, "..", "tests", "page", "package.json"))(
    "puppeteer-core");

const kQueries = ["p", "pa", "page", "page1", "page12", "zz", ""];

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle]
                           : (sorted[middle - 1] + sorted[middle]) / 2;
};

// Milliseconds from the start of navigation until the load event has run
// and the frame after it is painted.
async function loadToInteractive(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({width: 1280, height: 800});
  await page.goto(url, {waitUntil: "load", timeout: 0});
  const ms = await page.evaluate(() => new Promise((resolve) => {
    requestAnimationFrame(() => setTimeout(() => resolve(performance.now())));
  }));
  return {page, ms};
}

// The floor page has no filter: give it the naive one.
function addNaiveFilter() {
  const box = document.createElement("input");
  box.id = "filter";
  document.body.prepend(box);
  const items = document.getElementsByTagName("li");
  box.addEventListener("input", () => {
    const query = box.value.toLowerCase();
    for (let i = 0; i < items.length; i++) {
      const keep = items[i].textContent.toLowerCase().includes(query);
      items[i].style.display = keep ? "" : "none";
    }
  });
}

// Milliseconds from the input event that sets `query` to the next frame.
function timeQuery(query) {
  return new Promise((resolve) => {
    const box = document.getElementById("filter");
    box.value = query;
    const start = performance.now();
    box.dispatchEvent(new Event("input", {bubbles: true}));
    requestAnimationFrame(
        () => setTimeout(() => resolve(performance.now() - start)));
  });
}

async function main() {
  const [floorFile, modernFile, roundsText] = process.argv.slice(2);
  if (!modernFile) {
    console.error("usage: modern_page.cjs FLOOR.html MODERN.html [ROUNDS]");
    process.exit(2);
  }
  const rounds = Number(roundsText || 5);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "tessary-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update",
           "--disable-sync", `--user-data-dir=${profile}`],
  });
  try {
    const pages = {floor: floorFile, modern: modernFile};
    const load = {floor: [], modern: []};
    const filter = {floor: {}, modern: {}};
    for (const kind of Object.keys(pages)) {
      for (const query of kQueries) filter[kind][query] = [];
    }
    for (let round = 0; round < rounds; round++) {
      for (const kind of Object.keys(pages)) {
        const url = "file://" + path.resolve(pages[kind]);
        const {page, ms} = await loadToInteractive(browser, url);
        load[kind].push(ms);
        if (kind === "floor") await page.evaluate(addNaiveFilter);
        await new Promise((resolve) => setTimeout(resolve, 1000));
        for (const query of kQueries) {
          filter[kind][query].push(await page.evaluate(timeQuery, query));
        }
        await page.close();
      }
    }
    const row = (label, floor, modern, aim) => {
      const ratio = modern / floor;
      console.log(`${label.padEnd(20)} ${floor.toFixed(1).padStart(9)} ms ` +
                  `${modern.toFixed(1).padStart(9)} ms ` +
                  `${ratio.toFixed(2).padStart(6)}   (aim: at most ${aim})`);
    };
    console.log(`${"medians of " + rounds}`.padEnd(20) +
                "     floor      modern  ratio");
    row("load to interactive", median(load.floor), median(load.modern), 1.3);
    for (const query of kQueries) {
      row(query === "" ? "filter cleared" : `filter "${query}"`,
          median(filter.floor[query]), median(filter.modern[query]), 0.5);
    }
  } finally {
    await browser.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
