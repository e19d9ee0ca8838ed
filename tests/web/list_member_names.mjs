// Writes pagemodel/browser_member_names.cpp: the members that Chromium and
// Firefox ESR give a window, a document, a form and another element of a
// blank page, so that the page model answers `name in object` as they do.
// Run it from this folder (node list_member_names.mjs) when a browser changes.

import { writeFile } from "node:fs/promises";
import path from "node:path";

import { chromium } from "playwright-core";
import puppeteer from "puppeteer-core";

import { repository } from "./lesson_browser.mjs";

// Every prototype's own names, up to Object.prototype; for the window, its
// own globals too, without the named-properties object that answers its
// named elements and frames.
function membersOnABlankPage() {
  const namesOf = (o, skip) => {
    const out = new Set();
    for (let p = o; p && p !== Object.prototype; p = Object.getPrototypeOf(p)) {
      if (!skip(p)) for (const n of Object.getOwnPropertyNames(p)) out.add(n);
    }
    return [...out];
  };
  const named = Object.getPrototypeOf(Window.prototype);
  const blank = document.implementation.createHTMLDocument("");
  blank.body.innerHTML = "<form></form><span></span>";
  return {
    Window: namesOf(window, (p) => p === named),
    Document: namesOf(blank, () => false),
    Form: namesOf(blank.body.firstChild, () => false),
    Element: namesOf(blank.body.lastChild, () => false),
  };
}

async function membersIn(open) {
  const { browser, page } = await open();
  try {
    await page.goto("about:blank");
    return await page.evaluate(membersOnABlankPage);
  } finally {
    await browser.close();
  }
}

const openChromium = async () => {
  const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args: ["--no-sandbox"], headless: true });
  return { browser, page: await browser.newPage() };
};
const openFirefox = async () => {
  const browser = await puppeteer.launch({ browser: "firefox", executablePath: "/usr/bin/firefox-esr", headless: true });
  return { browser, page: await browser.newPage() };
};

const merged = {};
for (const found of [await membersIn(openChromium), await membersIn(openFirefox)]) {
  for (const [kind, names] of Object.entries(found)) {
    merged[kind] ??= new Set();
    for (const name of names) if (/^[A-Za-z_$][\w$]*$/.test(name)) merged[kind].add(name);
  }
}

function table(kind, names) {
  const lines = [];
  let line = "   ";
  for (const name of names) {
    const item = ` "${name}",`;
    if (line.length + item.length > 110) {
      lines.push(line);
      line = "   ";
    }
    line += item;
  }
  lines.push(line);
  return `constexpr std::array<std::string_view, ${names.length}> k${kind}Members = {\n${lines.join("\n")}\n};\n`;
}

const kinds = ["Window", "Document", "Form", "Element"];
const byteOrder = (a, b) => (a < b ? -1 : a > b ? 1 : 0);
const source = `// The members that Chromium and Firefox ESR give a window, a document, a form
// and another element of a blank page (every prototype's own names, the
// window's named elements aside), in byte order: the page model answers
// \`name in object\` as the browsers do for these. Made by
// tests/web/list_member_names.mjs; run it again when a browser adds members.

#include "pagemodel/browser_member_names.h"

#include <algorithm>
#include <array>

namespace reVoziz::pagemodel {
namespace {

${kinds.map((kind) => table(kind, [...merged[kind]].sort(byteOrder))).join("\n")}
template <std::size_t N>
bool listed(const std::array<std::string_view, N>& names, std::string_view name) {
  return std::binary_search(names.begin(), names.end(), name);
}

}  // namespace

bool isBrowserMember(BrowserObject object, std::string_view name) {
  switch (object) {
${kinds.map((kind) => `    case BrowserObject::${kind}: return listed(k${kind}Members, name);`).join("\n")}
  }
  return false;
}

}  // namespace reVoziz::pagemodel
`;
await writeFile(path.join(repository, "pagemodel/browser_member_names.cpp"), source);
