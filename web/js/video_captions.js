// Captions on the lesson's video. The track is the one in the language of the
// transcript the menu last loaded (the notes page keeps the last one). The
// captions show where the transcript does not already give the words: in
// full screen, and whenever the transcript is out of view (the video-only
// layout hides it). The student's own word, the C key or the video's captions
// menu, holds until they change it.
//
// Tracks that do not show are "hidden" rather than "disabled": their cues
// load, and the browser's own choice of a default track never steps in.

const CAPTION_KINDS = new Set(["captions", "subtitles"]);

// The track for a page in `lang`: the same language, else the same primary
// language ("en" for "en-GB").
function trackFor(tracks, lang) {
  const wanted = lang.toLowerCase();
  const primary = (tag) => tag.split("-")[0];
  return (
    tracks.find((t) => t.language.toLowerCase() === wanted) ??
    tracks.find((t) => primary(t.language.toLowerCase()) === primary(wanted)) ??
    null
  );
}

// `transcriptFrame`, the frame element whose page is the transcript.
export function videoCaptions(video, transcriptFrame) {
  const document = video.ownerDocument;
  const tracks = () => [...video.textTracks].filter((t) => CAPTION_KINDS.has(t.kind));
  let chosen = null;
  let choice = "auto"; // or the student's "on" or "off"
  let transcriptOnScreen = true; // its frame within the viewport
  let transcriptShown = true; // its frame holds a transcript, not the notes
  let applied = null; // the track this module last left showing

  const shouldShow = () =>
    choice === "on" ||
    (choice === "auto" && (!transcriptOnScreen || !transcriptShown || Boolean(document.fullscreenElement)));
  const showing = () => tracks().find((t) => t.mode === "showing") ?? null;

  function apply() {
    chosen ??= showing() ?? tracks()[0] ?? null;
    const shown = shouldShow() ? chosen : null;
    for (const track of tracks()) {
      const mode = track === shown ? "showing" : "hidden";
      if (track.mode !== mode) track.mode = mode;
    }
    applied = shown;
  }

  // A change this module did not make is the student's, on the video's menu.
  video.textTracks.addEventListener("change", () => {
    const shown = showing();
    if (shown === applied) return;
    choice = shown ? "on" : "off";
    if (shown) chosen = shown;
    apply();
  });
  video.textTracks.addEventListener("addtrack", apply);
  document.addEventListener("fullscreenchange", apply);
  if (transcriptFrame) {
    new document.defaultView.IntersectionObserver((entries) => {
      transcriptOnScreen = entries.at(-1).isIntersecting;
      apply();
    }).observe(transcriptFrame);
  }
  apply();

  return {
    // The C key: off while captions show, else on.
    toggle() {
      choice = showing() ? "off" : "on";
      apply();
    },
    // The transcript frame now holds `page`: a transcript (`isList`) in the
    // language of its root element, or a page of another kind.
    transcriptPage(page, isList) {
      transcriptShown = isList;
      const lang = page.documentElement.lang;
      if (isList && lang) chosen = trackFor(tracks(), lang) ?? chosen;
      apply();
    },
  };
}
