#pragma once
// The captions track of a made lesson: a WebVTT file per transcript language
// that the video shows as its captions, with the transcript's cues.

#include <string>
#include <vector>

#include "lessonmaking/lesson_plan.h"

namespace reVoziz::lessonmaking {

// The track's file name, in lower case as transcript files are: "captions_es-mx.vtt".
std::string captionsTrackFile(const std::string& language);

// The cues as a WebVTT file: each with its times to the millisecond and its
// lines, b, i, u and ruby kept, a speaker label as text, and &, < and >
// escaped so that no text reads as markup or as a cue timing.
std::string captionsTrack(const std::vector<TimedCue>& cues);

}  // namespace reVoziz::lessonmaking
