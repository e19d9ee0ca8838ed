// The media player as the control expects it, over an HTML5 <video>:
// `controls.currentPosition` reads and seeks, `controls.play()` plays, and
// `width` and `height` give the video's size on the page. The lesson never
// mutes the video: where the browser will not start it with sound, it waits
// paused behind its own controls until the student starts it.

// `startsByItself` false: the first play(), the one the control's start asks
// for, leaves the video paused (a student who asked for less motion); every
// later one, a click on a segment, plays.
export function videoPlayer(video, { startsByItself = true } = {}) {
  let startSkipped = startsByItself;
  const controls = {
    get currentPosition() {
      return video.currentTime;
    },
    set currentPosition(seconds) {
      video.currentTime = Number(seconds);
    },
    play() {
      if (!startSkipped) {
        startSkipped = true;
        video.controls = true;
        return;
      }
      playVideo(video);
    },
    get [Symbol.toStringTag]() {
      return "VideoControls";
    },
  };
  return {
    controls,
    get width() {
      return String(video.width || video.clientWidth);
    },
    get height() {
      return String(video.height || video.clientHeight);
    },
    get [Symbol.toStringTag]() {
      return "VideoPlayer";
    },
  };
}

// Plays `video` with sound. A browser may refuse a play the student did not
// ask for, or cut one short with a seek or a pause; that is no failure of the
// caller, and the video's own controls, shown, let the student start it.
export function playVideo(video) {
  video.play()?.catch?.(() => {
    video.controls = true;
  });
}
