// Which of the lesson's panels show: the table of contents (#toc) and the
// transcript (#tra). On a wide screen the layout buttons choose them. On a
// narrow one (the page's style sheet sets `--lesson-layout: narrow` on its
// root) the video stands above tabs (#tq_tabs) that show one panel at a time,
// and the layout buttons choose tabs instead of sizing a window. The tab
// whose `data-page` names the notes page shows it in the transcript's frame
// through the transcript menu's own option, as a student's choice there
// does; the transcript tab brings back the transcript shown last.

const PANELS = { modefull: [true, true], modetoc: [true, false], modetrans: [false, true], modevideo: [false, false] };

// The layout button whose "on" image shows: the layout the page opens with.
function pressedLayout(document) {
  for (const id of Object.keys(PANELS)) {
    const button = document.getElementById(id);
    const off = button?.getAttribute("tq_src_off");
    if (off && button.getAttribute("src") !== off) return id;
  }
  return "modefull";
}

// As the control shows them for the full layout.
const setShown = (element, shown) => {
  if (element) element.style.display = shown ? "block" : "none";
};

export function lessonPanels(win) {
  const document = win.document;
  const toc = document.getElementById("toc");
  const tra = document.getElementById("tra");
  const tablist = document.getElementById("tq_tabs");
  const tabs = tablist ? [...tablist.querySelectorAll('[role="tab"]')] : [];
  const tocTab = tabs.find((tab) => tab.getAttribute("aria-controls") === "toc");
  const notesTab = tabs.find((tab) => tab.dataset.page);
  const transcriptTab = tabs.find((tab) => tab !== tocTab && tab !== notesTab);
  const frame = document.querySelector('iframe[name="tq_trans"]');
  const address = (href) => new URL(href, document.baseURI).href;
  const notesAddress = notesTab ? address(notesTab.dataset.page) : null;
  const shownAddress = () => {
    try {
      return frame?.contentDocument?.URL ?? "";
    } catch {
      return "";
    }
  };

  const state = { layout: pressedLayout(document), tab: transcriptTab, narrow: false, transcript: frame?.src ?? "" };
  const narrowNow = () =>
    tabs.length > 0 && win.getComputedStyle(document.documentElement).getPropertyValue("--lesson-layout").trim() === "narrow";

  function show() {
    let [showToc, showTra] = PANELS[state.layout] ?? PANELS.modefull;
    if (state.narrow) {
      const any = state.layout !== "modevideo";
      tablist.style.display = any ? "" : "none";
      showToc = any && state.tab === tocTab;
      showTra = any && state.tab !== tocTab;
    }
    setShown(toc, showToc);
    setShown(tra, showTra);
    for (const tab of tabs) {
      const selected = tab === state.tab;
      tab.setAttribute("aria-selected", String(selected));
      tab.tabIndex = selected ? 0 : -1;
    }
    // The panels are tab panels on a narrow screen and named regions otherwise.
    for (const [panel, tab] of [[toc, tocTab], [tra, state.tab === tocTab ? transcriptTab : state.tab]]) {
      if (!panel || !tab) continue;
      if (state.narrow) {
        panel.setAttribute("role", "tabpanel");
        panel.setAttribute("aria-labelledby", tab.id);
      } else {
        panel.removeAttribute("role");
        panel.removeAttribute("aria-labelledby");
      }
    }
  }

  // The transcript menu's option that loads `wanted` into the frame; a click
  // on it takes the control's own road, which also swaps the menu's labels.
  function load(wanted) {
    if (!wanted || shownAddress() === wanted) return;
    const options = [...document.querySelectorAll(`[tq_selFrame="${frame.name}"] .tq_option`)];
    const option =
      options.find((o) => address(o.getAttribute("tq_href")) === wanted) ??
      options.find((o) => address(o.getAttribute("tq_href")) !== notesAddress);
    option?.click();
  }

  function choose(tab) {
    if (tab === notesTab) load(notesAddress);
    else if (tab === transcriptTab && shownAddress() === notesAddress) load(state.transcript);
    state.tab = tab;
    show();
  }

  function onResize() {
    const narrow = narrowNow();
    if (narrow === state.narrow) return;
    state.narrow = narrow;
    if (narrow) {
      // A full layout chosen on a wide screen sized the body; a narrow one
      // takes the width it has.
      for (const size of ["width", "height", "overflow"]) document.body.style[size] = "";
    } else {
      tablist.style.display = "";
    }
    show();
  }

  for (const tab of tabs) tab.addEventListener("click", () => choose(tab));
  tablist?.addEventListener("keydown", (event) => {
    const at = tabs.indexOf(event.target);
    if (at < 0 || event.altKey || event.ctrlKey || event.metaKey) return;
    const to = { ArrowRight: at + 1, ArrowLeft: at - 1, Home: 0, End: tabs.length - 1 }[event.key];
    if (to === undefined) return;
    event.preventDefault();
    tabs[(to + tabs.length) % tabs.length].focus();
  });
  // What the frame shows, also when the student chose it from the menu.
  frame?.addEventListener("load", () => {
    const shown = shownAddress();
    if (shown !== notesAddress) state.transcript = shown;
    if (state.tab !== tocTab) state.tab = shown === notesAddress ? notesTab : transcriptTab;
    show();
  });
  win.addEventListener("resize", onResize);
  // A wide page opens as its markup lays it out.
  onResize();

  return {
    get narrow() {
      return state.narrow;
    },
    // A layout button: on a narrow screen it chooses the tab of its panel.
    showLayout(id) {
      state.layout = id;
      if (state.narrow && id === "modetoc") return choose(tocTab);
      if (state.narrow && id === "modetrans") return choose(transcriptTab);
      show();
    },
  };
}
