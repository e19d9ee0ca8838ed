// Whether a lesson is still loading: the window's document or that of one of
// its frames, at any depth, is not complete yet. A tick that runs meanwhile
// may find a list not there yet, which is no fault of the lesson.

// A frame still shows its first, empty document while the page its element
// names is on its way.
function awaitingItsPage(frame, document) {
  return document.URL === "about:blank" && Boolean(frame.getAttribute("src")) && frame.src !== "about:blank";
}

export function framesLoading(win) {
  const document = readableDocument(win);
  if (!document) return false; // another site's page is not the lesson's to wait for
  if (document.readyState !== "complete") return true;
  for (const frame of document.querySelectorAll("iframe, frame")) {
    const inner = readableDocument(frame.contentWindow);
    if (inner && awaitingItsPage(frame, inner)) return true;
    if (framesLoading(frame.contentWindow)) return true;
  }
  return false;
}

// The document of a window, or null for one of another site.
export function readableDocument(win) {
  try {
    return win?.document ?? null;
  } catch {
    return null;
  }
}
