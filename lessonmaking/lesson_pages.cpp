#include "lessonmaking/lesson_pages.h"

#include <string_view>

#include "captions/html_text.h"
#include "core/time_code.h"

namespace reVoziz::lessonmaking {

using captions::escapeHtml;
namespace {

struct LanguageName {
  std::string_view code;
  std::string_view name;
};

constexpr LanguageName kLanguageNames[] = {
    {"es", "Español"}, {"en", "English"}, {"fr", "Français"}, {"de", "Deutsch"},
    {"it", "Italiano"}, {"pt", "Português"}, {"ca", "Català"}, {"eu", "Euskara"},
    {"gl", "Galego"},   {"nl", "Nederlands"},
};

// The looks that the sample lesson's lists and pages share with made ones.
constexpr std::string_view kSegmentFocusStyle = R"(    /* Besides its colour, the current segment is framed; the segment the
       keyboard is on gets a ring of its own. */
    #iText .segment:focus { outline: none }
    #iText .segment[aria-current="true"] { outline: 2px solid #8a6d00; outline-offset: 1px }
    #iText .segment:focus-visible { box-shadow: 0 0 0 4px #1a5fb4; -webkit-box-decoration-break: clone; box-decoration-break: clone }
)";

constexpr std::string_view kReducedMotionStyle = R"(    @media (prefers-reduced-motion: reduce) {
      * { scroll-behavior: auto !important; transition: none !important; animation: none !important }
    }
)";

// The menu's label for a language: its own name when known, else its code.
std::string languageLabel(const std::string& language) {
  const std::string_view primary = std::string_view(language).substr(0, language.find('-'));
  for (const auto& known : kLanguageNames) {
    if (primary == known.code) return std::string(known.name);
  }
  return language;
}

// "MM:SS", or "H:MM:SS" from the first hour on, as the sample's sync labels.
std::string syncLabel(std::int32_t seconds) {
  const std::string full = secondsToTime(seconds);
  return seconds < 3600 ? full.substr(3) : full;
}

std::string pageHead(const std::string& language, const std::string& title) {
  return "<!DOCTYPE html>\n<html lang=\"" + escapeHtml(language) +
         "\">\n<head>\n  <meta charset=\"utf-8\">\n  <title>" + escapeHtml(title) + "</title>\n";
}

}  // namespace

std::string transcriptFile(const std::string& language) { return "trans_" + language + ".html"; }

std::string lessonPage(const LessonPlan& plan) {
  const std::string title = escapeHtml(plan.title);
  std::string options;
  for (std::size_t i = 1; i < plan.transcripts.size(); ++i) {
    const std::string& language = plan.transcripts[i].language;
    options += "                <div class=\"tq_option\" tq_href=\"" +
               escapeHtml(transcriptFile(language)) + "\">" + escapeHtml(languageLabel(language)) +
               "</div>\n";
  }
  options += "                <div class=\"tq_option\" tq_href=\"notes.html\">Notas</div>\n";
  const std::string& first = plan.transcripts.front().language;
  return pageHead("es", plan.title) + R"(  <link rel="icon" href="data:,">
  <style type="text/css">
    body { margin: 8px; font: 12px Verdana, Arial, sans-serif; color: #222; background: #eef0f4 }
    h1 { margin: 0 0 6px; font-size: 16px; color: #2c3a55 }
    #toolbar { padding: 4px 0 }
    #toolbar img { margin-right: 2px; border: 0; cursor: pointer; vertical-align: middle }
    #toolbar .sep { display: inline-block; width: 12px }
    #video { width: 480px; height: 360px; background: #000 }
    #toc, #tra { background: #fff; border: 1px solid #b8c0d0 }
    #tra { margin-left: 6px }
    #trahead { padding: 3px 8px; background: #4a5a78; color: #fff; font-weight: bold }
    #tq_sel { position: relative; display: inline; cursor: pointer }
    #tq_selOps1 { position: absolute; left: 0; top: 16px; width: 90px; border: 1px solid #888; background: #fff; color: #222; font-weight: normal }
    .tq_option { padding: 2px 6px }
    iframe { display: block; border: 0 }
    #toolbar img:focus-visible, .tq_select:focus-visible, .tq_option:focus-visible { outline: 2px solid #1a5fb4; outline-offset: 1px }
    .tq_option:focus { background: #dde }
)" + std::string(kReducedMotionStyle) + R"(  </style>
</head>
<body id="tq_player">
  <h1>)" + title + R"(</h1>

  <div id="toolbar">
    <img id="modefull" src="modefull_on.gif" tq_src_off="modefull.gif" alt="Vista completa" title="Vídeo, índice y transcripción">
    <img id="modetoc" src="modetoc.gif" tq_src_off="modetoc.gif" alt="Vídeo e índice" title="Vídeo e índice">
    <img id="modetrans" src="modetrans.gif" tq_src_off="modetrans.gif" alt="Vídeo y transcripción" title="Vídeo y transcripción">
    <img id="modevideo" src="modevideo.gif" tq_src_off="modevideo.gif" alt="Solo vídeo" title="Solo vídeo">
    <span class="sep"></span>
    <img id="tq_scroll" src="scroll_on.gif" tq_src_on="scroll_on.gif" tq_src_off="scroll.gif" alt="Texto continuo" title="Mostrar todo el texto">
    <img id="tq_single" src="single.gif" tq_src_on="single_on.gif" tq_src_off="single.gif" alt="Frase a frase" title="Mostrar solo la frase actual">
    <img id="tq_sync" src="unsync.gif" alt="Sincronizar" title="Seguir el vídeo">
    <span class="sep"></span>
    <img id="tq_print" src="print.gif" alt="Imprimir" title="Imprimir la transcripción">
  </div>

  <table cellspacing="0" cellpadding="0">
    <tr>
      <td valign="top">
        <div id="video">
          <video id="mp" width="480" height="360" src=")" +
         escapeHtml(plan.videoAddress) + R"(" muted playsinline preload="auto"></video>
        </div>
        <div id="toc">
          <iframe name="frameToc" title="Índice: título" src="toc_head.html" width="480" height="22" frameborder="0" scrolling="no"></iframe>
          <iframe name="tq_toc" title="Índice" src="toc.html" width="480" height="138" frameborder="0"></iframe>
        </div>
      </td>
      <td valign="top">
        <div id="tra">
          <div id="trahead">
            Transcripción:
            <span id="tq_selLabel1">)" +
         escapeHtml(languageLabel(first)) + R"(</span>
            <div id="tq_sel" tq_selOps="tq_selOps1" tq_selFrame="tq_trans" tq_selId="tq_selLabel1">
              <span class="tq_select">▾</span>
              <div id="tq_selOps1" style="visibility:hidden" tq_mouseOver="background-color:#dde" tq_mouseOut="background-color:transparent">
)" + options + R"(              </div>
            </div>
          </div>
          <iframe name="tq_trans" title="Transcripción" src=")" +
         escapeHtml(transcriptFile(first)) + R"(" width="400" height="498" frameborder="0"></iframe>
        </div>
      </td>
    </tr>
  </table>
  <script type="module">
    import { startLesson } from "/revoziz/lesson_host.js";
    // The page's own script keeps the control as `tq`, the name the notes
    // page's handlers call it by, and backs up the notes with it.
    window.tq = window.lessonControl = await startLesson(window);
  </script>
</body>
</html>
)";
}

std::string tocPage(const LessonPlan& plan) {
  std::string entries;
  for (std::size_t i = 0; i < plan.toc.size(); ++i) {
    const TocEntry& entry = plan.toc[i];
    entries += "    <div class=\"segment\" id=\"c" + std::to_string(i + 1) + "\" tq_start=\"" +
               secondsToTime(entry.start) + "\">" + escapeHtml(entry.title) + "</div>\n";
  }
  return pageHead("es", "Índice") + R"(  <style id="tq_style" type="text/css">
    .segment { cursor: pointer }
  </style>
  <style type="text/css">
    body { margin: 4px 6px; font: 13px Verdana, Arial, sans-serif; color: #222; background: #fff }
    .segment { padding: 1px 2px }
)" + std::string(kSegmentFocusStyle) + std::string(kReducedMotionStyle) + R"(  </style>
</head>
<body>
  <div id="iText" tq_insync="1" tq_mode="scroll" tq_refresh="0" tq_oldSegment="" tq_current="background-color:#ffd;font-weight:bold" tq_nonCurrent="" tq_single="" tq_mouseOver="text-decoration:underline" tq_mouseOut="">
)" + entries + R"(  </div>
</body>
</html>
)";
}

std::string transcriptPage(const Transcript& transcript) {
  std::string segments;
  for (std::size_t i = 0; i < transcript.segments.size(); ++i) {
    const Segment& segment = transcript.segments[i];
    segments += "    <div class=\"segment\" tq_start=\"" + secondsToTime(segment.start) +
                "\" id=\"s" + std::to_string(i + 1) + "\"><span class=\"sync\">" +
                syncLabel(segment.start) + "</span> " + segment.html + "</div>\n";
  }
  return pageHead(transcript.language, "Transcripción") + R"(  <style id="tq_style" type="text/css">
    .segment { display: inline }
    .sync { display: inline }
  </style>
  <style type="text/css">
    body { margin: 6px 8px; font: 14px/1.5 Georgia, "Times New Roman", serif; color: #222; background: #fff }
    .segment { cursor: pointer }
    .sync { color: #666; font: 11px Verdana, Arial, sans-serif; cursor: pointer }
    .speaker { color: #4a5a78; font-weight: bold }
)" + std::string(kSegmentFocusStyle) + R"(    .tq_followBack { padding: 4px 10px; border: 0; border-radius: 3px; background: #4a5a78; color: #fff; font: 12px Verdana, Arial, sans-serif; cursor: pointer }
    .tq_followBack:focus-visible { outline: 3px solid #1a5fb4; outline-offset: 2px }
)" + std::string(kReducedMotionStyle) + R"(  </style>
</head>
<body tq_maxWidth="400">
  <div id="iText" tq_follow="pause" tq_insync="1" tq_mode="scroll" tq_refresh="0" tq_oldSegment="" tq_current="background-color:#ffd" tq_nonCurrent="" tq_single="display:inline;background-color:#ffd" tq_mouseOver="color:#006" tq_mouseOut="">
)" + segments + R"(  </div>
</body>
</html>
)";
}

}  // namespace reVoziz::lessonmaking
