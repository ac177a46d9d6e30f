"use strict";
// The modern page's one script: it completes the folder counts and runs
// the filter box. The page is whole without it; the box stays hidden then.
(() => {
  const tree = document.getElementById("tree");
  const box = document.getElementById("filter");
  const found = document.getElementById("found");
  if (!tree || !box || !found) return;

  const groupDigits = (n) => String(n).replace(/\B(?=(\d{3})+(?!\d))/g, ",");
  const filesText = (n) => groupDigits(n) + (n === 1 ? " file" : " files");

  // The folders in page order; each nested <details> is a subfolder of the
  // one around it, so a stack of the open ancestors gives every parent.
  const folders = [tree, ...tree.querySelectorAll("details")];
  const count = folders.length;
  const parent = new Int32Array(count);
  const ownFiles = new Float64Array(count);
  const allFiles = new Float64Array(count);
  const ancestors = [];
  folders.forEach((folder, i) => {
    while (ancestors.length > 0 &&
           folders[ancestors[ancestors.length - 1]] !== folder.parentElement) {
      ancestors.pop();
    }
    parent[i] = ancestors.length > 0 ? ancestors[ancestors.length - 1] : -1;
    ancestors.push(i);
    const files = folder.firstElementChild.lastElementChild.textContent;
    ownFiles[i] = allFiles[i] = parseInt(files.replace(/,/g, ""), 10) || 0;
  });
  // The page gives each folder's own files; the files below it are added
  // here, children before parents.
  for (let i = count - 1; i > 0; i--) allFiles[parent[i]] += allFiles[i];
  folders.forEach((folder, i) => {
    if (allFiles[i] !== ownFiles[i]) {
      folder.firstElementChild.lastElementChild.textContent +=
          " \u00b7 " + groupDigits(allFiles[i]) + " in all";
    }
  });

  // What the filter matches, lower-cased once: a folder's name, and a
  // file's shown text (its name or title, never its size and date) with
  // its name as the link ends, for entries that show only the title.
  const folderKeys = folders.map((folder) =>
    folder.firstElementChild.firstChild.textContent.trim().toLowerCase());
  const entries = [];
  const entryFolder = [];
  const entryKeys = [];
  // A folder's files come in one or more lists after its summary.
  folders.forEach((folder, i) => {
    for (let list = folder.firstElementChild.nextElementSibling;
         list && list.tagName === "UL"; list = list.nextElementSibling) {
      for (const item of list.children) {
        entries.push(item);
        entryFolder.push(i);
      }
    }
  });

  const linkName = (href) => {
    const name = href.slice(href.lastIndexOf("/") + 1);
    if (!name.includes("%")) return name;
    try {
      return decodeURIComponent(name);
    } catch {
      return name;  // bytes that are no UTF-8: the encoded name will do
    }
  };
  // An entry is a link, a title and then a link, or a name without one,
  // and then its size and date, which are never matched.
  const entryKey = (item) => {
    const link = item.firstElementChild;
    let key = item.firstChild === link ? "" : item.firstChild.data;
    if (link && link.tagName === "A") {
      key += link.textContent + "\n" + linkName(link.getAttribute("href"));
    }
    return key.toLowerCase();
  };
  // The keys are made in idle moments after load, or at once when the
  // filter is used before that.
  const prepare = (deadline) => {
    while (entryKeys.length < entries.length &&
           (!deadline || deadline.timeRemaining() > 1)) {
      const end = Math.min(entries.length, entryKeys.length + 500);
      for (let i = entryKeys.length; i < end; i++) {
        entryKeys.push(entryKey(entries[i]));
      }
    }
    if (deadline && entryKeys.length < entries.length) {
      requestIdleCallback(prepare);
    }
  };
  if (window.requestIdleCallback) requestIdleCallback(prepare);

  // What the page shows now: per file whether it is marked as a miss, per
  // folder whether it is a miss or found by its name. Marks change only
  // where the answer changes, and only where they count: inside a folder
  // that is hidden, or found, they stay as they were. The class name is
  // set as a whole, as these elements have no other class: a keystroke on
  // a page of 100,000 files may change tens of thousands of marks.
  const kMarks = ["", "miss", "found"];
  const entryMark = new Uint8Array(entries.length);
  const entryHit = new Uint8Array(entries.length);
  const folderMark = new Uint8Array(count);
  const nameMatch = new Uint8Array(count);
  const visible = new Uint8Array(count);
  let openBefore = null;  // each folder's state before the filter

  const mark = (element, marks, i, to) => {
    if (marks[i] !== to) {
      marks[i] = to;
      element.className = kMarks[to];
    }
  };
  const setOpen = (folder, open) => {
    if (folder.open !== open) folder.open = open;
  };

  // Works out what matches `query`: a folder whose name matches shows all
  // it holds, so does every folder below it; a folder with a match below
  // it shows. Returns how many files show.
  const match = (query) => {
    for (let i = 0; i < count; i++) {
      nameMatch[i] = (parent[i] >= 0 && nameMatch[parent[i]]) ||
                     folderKeys[i].includes(query) ? 1 : 0;
      visible[i] = nameMatch[i];
    }
    let shown = 0;
    for (let e = 0; e < entries.length; e++) {
      const f = entryFolder[e];
      entryHit[e] = nameMatch[f] || entryKeys[e].includes(query) ? 1 : 0;
      shown += entryHit[e];
      visible[f] |= entryHit[e];
    }
    for (let i = count - 1; i > 0; i--) visible[parent[i]] |= visible[i];
    return shown;
  };

  const show = (query) => {
    if (!openBefore) openBefore = folders.map((folder) => folder.open);
    prepare();
    const shown = match(query);
    for (let i = 0; i < count; i++) {
      const up = parent[i];
      if (up >= 0 && (!visible[up] || nameMatch[up])) continue;
      mark(folders[i], folderMark, i,
           !visible[i] ? 1 : nameMatch[i] ? 2 : 0);
      if (visible[i]) setOpen(folders[i], true);
    }
    for (let e = 0; e < entries.length; e++) {
      const f = entryFolder[e];
      if (visible[f] && !nameMatch[f]) {
        mark(entries[e], entryMark, e, entryHit[e] ? 0 : 1);
      }
    }
    // Folders on the way to a match are open; those inside a folder found
    // by its name keep the state they had.
    for (let i = 1; i < count; i++) {
      if (nameMatch[parent[i]] && visible[parent[i]]) {
        setOpen(folders[i], openBefore[i]);
      }
    }
    tree.parentElement.classList.add("filtering");
    found.textContent = shown === 0 ? "No matches"
      : groupDigits(shown) + " of " + filesText(entries.length);
  };

  const clear = () => {
    tree.parentElement.classList.remove("filtering");
    if (openBefore) {
      folders.forEach((folder, i) => setOpen(folder, openBefore[i]));
      openBefore = null;
    }
    found.textContent = "";
  };

  // The text goes into the address once typing pauses: changing the
  // address costs a browser as much as the filter itself.
  let addressTimer = 0;
  const keepInAddress = (text) => {
    clearTimeout(addressTimer);
    addressTimer = setTimeout(() => {
      const url = text === "" ? location.pathname + location.search
                              : "#q=" + encodeURIComponent(text);
      try {
        history.replaceState(null, "", url);
      } catch {
        // A document that refuses it keeps its address; the filter works
        // all the same.
      }
    }, 300);
  };

  const apply = (text) => {
    const query = text.toLowerCase();
    if (query === "") {
      clear();
    } else {
      show(query);
    }
  };
  box.addEventListener("input", () => {
    apply(box.value);
    keepInAddress(box.value);
  });
  document.addEventListener("keydown", (event) => {
    if (event.key !== "Escape" || box.value === "") return;
    event.preventDefault();
    box.value = "";
    apply("");
    keepInAddress("");
  });

  const fromAddress = () => {
    if (!location.hash.startsWith("#q=")) return null;
    try {
      return decodeURIComponent(location.hash.slice(3));
    } catch {
      return location.hash.slice(3);
    }
  };
  window.addEventListener("hashchange", () => {
    const text = fromAddress();
    if (text !== null && text !== box.value) {
      box.value = text;
      apply(text);
    }
  });
  box.parentElement.hidden = false;
  const start = fromAddress();
  if (start) {
    box.value = start;
    apply(start);
  }
})();
