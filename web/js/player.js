// The media player as the control expects it, over an HTML5 <video>:
// `controls.currentPosition` reads and seeks, `controls.play()` plays, and
// `width` and `height` give the video's size on the page.

export function videoPlayer(video) {
  const controls = {
    get currentPosition() {
      return video.currentTime;
    },
    set currentPosition(seconds) {
      video.currentTime = Number(seconds);
    },
    play() {
      // A browser may refuse to start a video that the student did not ask
      // for; the video's own controls then let the student start it. That
      // refusal is not a failure of the caller.
      const started = video.play();
      started?.catch?.(() => {
        video.controls = true;
      });
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
