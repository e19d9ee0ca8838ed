// The host layer in Chromium: the older object-model members it supplies,
// the event object, and how failures reach the page's script. Each check
// runs in the started sample lesson, on the layer the module itself uses.

import assert from "node:assert/strict";
import { after, before, describe, test } from "node:test";

import { frame, lessonStarted, openBrowser } from "./lesson_browser.mjs";

let lessons;
let page;
before(async () => {
  lessons = await openBrowser();
  ({ page } = await lessons.open());
  await lessonStarted(page);
});
after(async () => {
  await lessons.close();
});

// Runs `check(host, control)` in the lesson page with the host layer and a
// control of its own.
function inPage(check, arg) {
  return page.evaluate(
    async ([source, argument]) => {
      const { controlClass, host } = await import("/revoziz/host.js");
      const { default: createRevoziz } = await import("/revoziz/revoziz.mjs");
      window.testControl ??= new (controlClass(await createRevoziz({ revozizHost: host })))();
      return new Function(`return (${source})`)()(host, window.testControl, argument);
    },
    [check.toString(), arg],
  );
}

describe("collections", () => {
  test("all finds by id, by name as a group, and by uniqueID; tags filters by tag name", async () => {
    const seen = await inPage((host) => {
      const doc = document.querySelector('iframe[name="tq_toc"]').contentDocument;
      const all = host.get(doc, "all");
      const iText = host.call(all, "item", ["iText"]);
      const a = document.createElement("span");
      const b = document.createElement("span");
      a.setAttribute("name", "twin");
      b.id = "twin";
      document.body.append(a, b);
      const twins = host.call(host.get(document, "all"), "item", ["twin"]);
      const c3 = doc.getElementById("c3");
      const id = host.get(c3, "uniqueID");
      const divs = host.call(host.get(iText, "all"), "tags", ["div"]);
      const result = {
        iText: iText === doc.getElementById("iText"),
        twins: [host.typeName(twins), host.get(twins, "length"), host.call(twins, "item", [1]) === b],
        uniqueStable: id === host.get(c3, "uniqueID") && id !== host.get(doc.getElementById("c4"), "uniqueID"),
        byUniqueId: host.call(host.get(iText, "all"), "item", [id]) === c3,
        divs: host.get(divs, "length") === iText.querySelectorAll("div").length,
        missingItem: host.call(all, "item", ["nothing-here"]),
        missingMember: host.get(all, "nothing-here").code,
        sameWrapper: host.get(doc, "all") === all,
      };
      a.remove();
      b.remove();
      return result;
    });
    assert.deepEqual(seen, {
      iText: true,
      twins: ["HTMLElementCollection", 2, true],
      uniqueStable: true,
      byUniqueId: true,
      divs: true,
      missingItem: null,
      missingMember: 438,
      sameWrapper: true,
    });
  });

  test("frames answer by name with their window; style sheets by id, with rules to add and remove", async () => {
    const seen = await inPage((host) => {
      const frames = host.get(document, "frames");
      const trans = host.get(frames, "tq_trans");
      const tdoc = trans.document;
      const sheet = host.get(host.get(tdoc, "styleSheets"), "tq_style");
      const rules = host.get(sheet, "rules");
      const before = host.get(rules, "length");
      host.call(sheet, "addRule", [".probe", "color: red"]);
      const added = host.get(host.call(rules, "item", [before]), "selectorText");
      host.call(sheet, "removeRule", [before]);
      return {
        trans: trans === document.querySelector('iframe[name="tq_trans"]').contentWindow,
        count: host.get(frames, "length"),
        missing: host.get(frames, "tq_notes").code,
        sheet: sheet.ownerNode.id,
        added,
        after: host.get(rules, "length") === before,
      };
    });
    assert.deepEqual(seen, { trans: true, count: 3, missing: 438, sheet: "tq_style", added: ".probe", after: true });
  });
});

describe("element members", () => {
  test("runtimeStyle is a layer above style: it wins, leaves style alone and goes away when emptied", async () => {
    const seen = await inPage((host) => {
      const doc = document.querySelector('iframe[name="tq_trans"]').contentDocument;
      const s2 = doc.getElementById("s2");
      s2.style.color = "rgb(1, 2, 3)";
      const layer = host.get(s2, "runtimeStyle");
      host.put(layer, "cssText", "color: rgb(9, 9, 9); text-decoration: underline");
      const over = [getComputedStyle(s2).color, s2.style.cssText, host.get(layer, "cssText")];
      host.put(layer, "cssText", "");
      const cleared = [getComputedStyle(s2).color, s2.hasAttribute("data-tq-runtime")];
      s2.style.color = "";
      return { over, cleared, type: host.typeName(layer) };
    });
    assert.deepEqual(seen, {
      over: ["rgb(9, 9, 9)", "color: rgb(1, 2, 3);", "color: rgb(9, 9, 9); text-decoration: underline;"],
      cleared: ["rgb(1, 2, 3)", false],
      type: "HTMLRuntimeStyle",
    });
  });

  test("removeNode keeps or drops the children; getAttribute falls back to properties, then null", async () => {
    const seen = await inPage((host) => {
      const box = document.createElement("div");
      box.innerHTML = "<p id=outer><b>one</b><i>two</i></p><p id=gone><b>three</b></p>";
      document.body.append(box);
      host.call(box.querySelector("#outer"), "removeNode", [false]);
      host.call(box.querySelector("#gone"), "removeNode", [true]);
      const html = box.innerHTML;
      const b = box.querySelector("b");
      const result = {
        html,
        parent: host.call(b, "getAttribute", ["parentNode"]) === box,
        absent: host.call(b, "getAttribute", ["tq_nothing"]),
        expando: (host.put(b, "tq_mark", 7), [b.getAttribute("tq_mark"), host.get(b, "tq_mark")]),
      };
      box.remove();
      return result;
    });
    assert.deepEqual(seen, { html: "<b>one</b><i>two</i>", parent: true, absent: null, expando: ["7", "7"] });
  });

  test("fireEvent reaches the page's forwarded handlers: an expander fired at opens its branch", async () => {
    const seen = await inPage((host) => {
      const doc = document.querySelector('iframe[name="tq_toc"]').contentDocument;
      const expander = doc.getElementById("c15").previousElementSibling;
      host.call(expander, "fireEvent", ["onclick"]);
      const opened = doc.getElementById("c15").nextElementSibling.style.display;
      host.call(expander, "fireEvent", ["onclick"]);
      return [opened, doc.getElementById("c15").nextElementSibling.style.display];
    });
    assert.deepEqual(seen, ["block", "none"]);
  });
});

describe("window.event", () => {
  test("exists only while a forwarded event runs, and maps cancelBubble, returnValue and srcElement", async () => {
    const seen = await inPage(async (host) => {
      const { dispatch } = await import("/revoziz/host.js");
      const target = document.getElementById("tq_print");
      const outside = host.get(window, "event");
      let reachedWindow = false;
      const onWindow = () => {
        reachedWindow = true;
      };
      window.addEventListener("keydown", onWindow);
      let inside;
      const listener = (event) =>
        dispatch(window, event, () => {
          const e = host.get(window, "event");
          host.put(e, "cancelBubble", true);
          host.put(e, "returnValue", false);
          inside = [host.get(e, "srcElement") === target, host.get(e, "keyCode"), host.get(e, "key"), host.typeName(e)];
        });
      document.addEventListener("keydown", listener);
      const event = new KeyboardEvent("keydown", { keyCode: 84, key: "t", bubbles: true, cancelable: true });
      target.dispatchEvent(event);
      document.removeEventListener("keydown", listener);
      window.removeEventListener("keydown", onWindow);
      return { outside, inside, reachedWindow, prevented: event.defaultPrevented, after: host.get(window, "event") };
    });
    assert.deepEqual(seen, {
      outside: null,
      inside: [true, 84, "t", "HTMLEventObj"],
      reachedWindow: false,
      prevented: true,
      after: null,
    });
  });
});

describe("selections and text ranges", () => {
  test("the selection's type, text ranges that find text across nodes, and control ranges", async () => {
    const seen = await inPage((host) => {
      const box = document.createElement("div");
      box.innerHTML = 'Uno <b>DOS</b> tres <img id="pic" src="open.gif"> cuatro';
      document.body.append(box);
      const selection = host.get(document, "selection");
      const select = (start, startOffset, end, endOffset) => {
        const range = document.createRange();
        range.setStart(start, startOffset);
        range.setEnd(end, endOffset);
        getSelection().removeAllRanges();
        getSelection().addRange(range);
      };
      const answers = {};
      select(box.firstChild, 1, box.firstChild, 1);
      answers.caret = host.get(selection, "type");
      select(box.firstChild, 0, box.childNodes[2], 3);
      answers.text = host.get(selection, "type");
      const range = host.call(selection, "createRange", []);
      answers.holder = host.call(range, "parentElement", []) === box;
      // Within the box's text, across the bold element, ignoring case.
      host.call(range, "moveToElementText", [box]);
      answers.found = host.call(range, "findText", ["o dos t"]);
      answers.foundText = host.get(range, "text");
      answers.missing = host.call(range, "findText", ["cinco"]);
      host.call(range, "select", []);
      answers.selected = getSelection().toString();
      host.call(range, "collapse", [false]);
      answers.collapsed = getSelection().toString() === "o DOS t" && host.get(range, "text") === "";
      // The image selected whole: a control range of one item.
      const pic = document.getElementById("pic");
      select(box, 3, box, 4);
      answers.object = host.get(selection, "type");
      const objects = host.call(selection, "createRange", []);
      answers.item = [host.get(objects, "length"), host.call(objects, "item", [0]) === pic, host.typeName(objects)];
      // Outside editable content pasteHTML puts the nodes in place; a script among them never runs.
      window.pastedScriptRan = false;
      select(box.lastChild, 1, box.lastChild, 7);
      const plain = host.call(selection, "createRange", []);
      host.call(plain, "pasteHTML", ['<i>cinco</i><script>window.pastedScriptRan = true<\/script>']);
      answers.pasted = box.innerHTML.replace(/<img[^>]*>/, "IMG");
      answers.ran = window.pastedScriptRan;
      box.remove();
      return answers;
    });
    assert.deepEqual(seen, {
      caret: "None",
      text: "Text",
      holder: true,
      found: true,
      foundText: "o DOS t",
      missing: false,
      selected: "o DOS t",
      collapsed: true,
      object: "Control",
      item: [1, true, "HTMLControlRange"],
      pasted: 'Uno <b>DOS</b> tres IMG <i>cinco</i><script>window.pastedScriptRan = true</script>',
      ran: false,
    });
  });
});

describe("failures reach the page's script as errors", () => {
  test("a missing member, an unset object and what the page throws each reach the script with their code", async () => {
    const seen = await inPage((host, tq) => {
      const caught = (run) => {
        try {
          run();
          return "no error";
        } catch (error) {
          return [error instanceof Error, error.code, error.status.toString(16), error.message];
        }
      };
      const option = document.querySelector(".tq_option");
      return {
        missing: caught(() => tq.switchText(document, document.getElementById("tq_print"))),
        unset: caught(() => tq.getVal(null, "x")),
        noRules: caught(() => tq.addStyle(document.body, ".segment", "display", "none")),
        thrown: caught(() =>
          tq.getVal(new Proxy({}, { get: () => { throw new TypeError("the page broke"); } }), "x"),
        ),
        fine: [tq.timeToSeconds("1:15"), tq.secondsToTime(3725), tq.getVal(option, "tq_href")],
      };
    });
    assert.equal(seen.missing[1], 438);
    assert.equal(seen.missing[2], "800a01b6");
    assert.match(seen.missing[3], /parentElement|tq_selFrame|tq_href/);
    assert.deepEqual(seen.unset.slice(0, 3), [true, 424, "800a01a8"]);
    assert.equal(seen.noRules[1], 438);
    assert.deepEqual(seen.thrown, [true, 440, "800a01b8", "getAttribute: the page broke"]);
    assert.deepEqual(seen.fine, [75, "01:02:05", "trans_en.html"]);
  });

  test("the page stays as it was when a call fails at its first step", async () => {
    // toggleSync reads iText from the given document; the top page has none.
    const seen = await inPage((host, tq) => {
      const button = document.getElementById("tq_sync");
      const src = button.getAttribute("src");
      try {
        tq.toggleSync(document, button);
      } catch (error) {
        return [error.code, button.getAttribute("src") === src];
      }
      return "no error";
    });
    assert.deepEqual(seen, [438, true]);
  });
});

describe("the crossing into the module", () => {
  test("texts of any length, numbers, truth values and objects cross whole both ways", async () => {
    const mismatches = await inPage((host, tq) => {
      const texts = ["", "segment", "ñandú €😀", "a\u0000b", "é".repeat(200), "x".repeat(300)];
      const answers = { number: 7, big: 2 ** 31, half: 1.5, negativeZero: -0, yes: true, object: document.body };
      // Out of the module: getVal answers what the object's getAttribute gives.
      const echo = { getAttribute: (name) => (Object.hasOwn(answers, name) ? answers[name] : name) };
      const answered = [...texts.map((text) => [text, text]), ...Object.entries(answers)]
        .filter(([name, value]) => !Object.is(tq.getVal(echo, name), value))
        .map(([name]) => `answer ${name.slice(0, 12)}`);
      // Into it and out again: addStyle hands the matching rule's style two texts.
      let handed = null;
      const rule = { selectorText: "#x", style: { setAttribute: (...args) => (handed = args) } };
      const sheet = { rules: { length: 1, item: () => rule } };
      const passed = texts
        .map((text, i) => [text, texts.at(i - 1)])
        .filter(([a, b]) => (tq.addStyle(sheet, "#x", a, b), handed.join("|") !== `${a}|${b}`))
        .map(([a]) => `arguments ${a.slice(0, 12)}`);
      return [...answered, ...passed];
    });
    assert.deepEqual(mismatches, []);
  });
});

test("the lesson's own page keeps its globals clean", async () => {
  const globals = await frame(page, "tq_trans").evaluate(() => Object.keys(window).filter((k) => /tq|revoziz|Module/i.test(k)));
  assert.deepEqual(globals, []);
  const top = await page.evaluate(() => Object.keys(window).filter((k) => /revoziz|Module|host/i.test(k)));
  assert.deepEqual(top, []);
});
