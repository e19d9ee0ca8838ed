#include "captions/cue_markup.h"

#include <gtest/gtest.h>

namespace reVoziz::captions {
namespace {

struct Case {
  const char* text;
  const char* html;
  const char* plain;
};

void expectRendered(CueDialect dialect, std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    const RenderedCue rendered = renderCueText(c.text, dialect);
    EXPECT_EQ(rendered.html, c.html) << c.text;
    EXPECT_EQ(rendered.plain, c.plain) << c.text;
  }
}

TEST(CueMarkup, WebVttMarkupBecomesASmallSafeSet) {
  expectRendered(CueDialect::WebVtt, {
      {"<b>bold</b> <i>it</i> <u>under</u>", "<b>bold</b> <i>it</i> <u>under</u>", "bold it under"},
      {"<c.yellow.big>class</c> <lang fr>mot</lang>", "class mot", "class mot"},
      {"<v Ana Pérez>Hola</v>", "<span class=\"speaker\">Ana Pérez:</span> Hola", "Hola"},
      {"<v.loud Bob>Hi", "<span class=\"speaker\">Bob:</span> Hi", "Hi"},
      {"<ruby>漢<rt>kan</rt></ruby>", "<ruby>漢<rt>kan</rt></ruby>", "漢kan"},
      {"<ruby>字<rt>ji</ruby> after", "<ruby>字<rt>ji</rt></ruby> after", "字ji after"},
      {"<rt>no ruby</rt>", "no ruby", "no ruby"},
      {"one<00:00:01.500><c> two</c>", "one two", "one two"},
      {"line one\nline two", "line one<br>line two", "line one\nline two"},
      {"<i>left open", "<i>left open</i>", "left open"},
      {"<b>x</i>y</b>", "<b>xy</b>", "xy"},
  });
}

TEST(CueMarkup, EverythingElseIsEscapedText) {
  expectRendered(CueDialect::WebVtt, {
      {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;",
       "<script>alert(1)</script>"},
      {"<img src=x onerror=alert(1)>", "&lt;img src=x onerror=alert(1)&gt;",
       "<img src=x onerror=alert(1)>"},
      {"<b onclick=\"x()\">b</b>", "<b>b</b>", "b"},
      {"a < b and \"c\" > d", "a &lt; b and &quot;c&quot; &gt; d", "a < b and \"c\" > d"},
      {"<iframe", "&lt;iframe", "<iframe"},
      {"<1:2>", "&lt;1:2&gt;", "<1:2>"},
  });
}

TEST(CueMarkup, CharacterReferences) {
  expectRendered(CueDialect::WebVtt, {
      {"R&amp;D &lt;tag&gt;", "R&amp;D &lt;tag&gt;", "R&D <tag>"},
      {"&#65;&#x42;&nbsp;", "AB\xC2\xA0", "AB\xC2\xA0"},
      {"&#0; &#xD800;", "\xEF\xBF\xBD \xEF\xBF\xBD", "\xEF\xBF\xBD \xEF\xBF\xBD"},
      {"AT&T &unknown; &", "AT&amp;T &amp;unknown; &amp;", "AT&T &unknown; &"},
  });
}

TEST(CueMarkup, SrtTagsAnyCaseFontDroppedOverridesGone) {
  expectRendered(CueDialect::Srt, {
      {"<I>It</I> <B>b</B>", "<i>It</i> <b>b</b>", "It b"},
      {"<font color=\"#ff0\">yellow</font>", "yellow", "yellow"},
      {"{\\an8}on top", "on top", "on top"},
      {"<v Bob>not a voice here</v>", "&lt;v Bob&gt;not a voice here&lt;/v&gt;",
       "<v Bob>not a voice here</v>"},
  });
}

TEST(CueMarkup, InlineTimestampsAreNoticed) {
  EXPECT_TRUE(renderCueText("a<00:00:01.000><c> b</c>", CueDialect::WebVtt).hasTimestamps);
  EXPECT_FALSE(renderCueText("a <c>b</c>", CueDialect::WebVtt).hasTimestamps);
}

}  // namespace
}  // namespace reVoziz::captions
