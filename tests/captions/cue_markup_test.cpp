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

TEST(CueMarkup, UnknownTagsAreDroppedAndTheirTextKept) {
  expectRendered(CueDialect::WebVtt, {
      {"<script>alert(1)</script>", "alert(1)", "alert(1)"},
      {"<img src=x onerror=alert(1)>", "", ""},
      {"<b onclick=\"x()\">b</b>", "<b>b</b>", "b"},
      {"<font color=\"yellow\">Caf&eacute;</font>", "Café", "Café"},
      {"<B>upper case is not bold</B>", "upper case is not bold", "upper case is not bold"},
      {"<iframe", "", ""},
      {"<1:2>", "", ""},  // a timestamp tag that is not a time
  });
  // A "<" before white space, or a "<" that starts no tag in SRT, is text.
  expectRendered(CueDialect::WebVtt, {
      {"a < b and \"c\" > d", "a &lt; b and &quot;c&quot; &gt; d", "a < b and \"c\" > d"},
      {"ends in <", "ends in &lt;", "ends in <"},
  });
  expectRendered(CueDialect::Srt, {
      {"I <3 you, 2<5", "I &lt;3 you, 2&lt;5", "I <3 you, 2<5"},
      {"<script>x</script> </ b>", "x &lt;/ b&gt;", "x </ b>"},
  });
}

TEST(CueMarkup, LineBreakTagsBreakTheLine) {
  for (const CueDialect dialect : {CueDialect::WebVtt, CueDialect::Srt}) {
    const RenderedCue rendered = renderCueText("one<br>two<br/>three<br />four<BR>five", dialect);
    EXPECT_EQ(rendered.html, "one<br>two<br>three<br>four<br>five");
    EXPECT_EQ(rendered.plain, "one\ntwo\nthree\nfour\nfive");
  }
}

TEST(CueMarkup, CharacterReferences) {
  expectRendered(CueDialect::WebVtt, {
      {"R&amp;D &lt;tag&gt;", "R&amp;D &lt;tag&gt;", "R&D <tag>"},
      {"&#65;&#x42;&nbsp;", "AB\xC2\xA0", "AB\xC2\xA0"},
      {"&#0; &#xD800;", "\xEF\xBF\xBD \xEF\xBF\xBD", "\xEF\xBF\xBD \xEF\xBF\xBD"},
      {"AT&T &unknown; &", "AT&amp;T &amp;unknown; &amp;", "AT&T &unknown; &"},
      {"caf&eacute; &hellip; &copy; &Omega;", "café … © Ω", "café … © Ω"},
      {"&notin; &notit; &copy2026", "∉ ¬it; ©2026", "∉ ¬it; ©2026"},  // old names need no ";"
      {"&NotEqualTilde;", "\xE2\x89\x82\xCC\xB8", "\xE2\x89\x82\xCC\xB8"},  // two characters
      {"&NotAReference;", "&amp;NotAReference;", "&NotAReference;"},
  });
}

TEST(CueMarkup, PositionCodesGoInBothFormats) {
  for (const CueDialect dialect : {CueDialect::WebVtt, CueDialect::Srt}) {
    expectRendered(dialect, {
        {"{\\an8}on top", "on top", "on top"},
        {"{\\pos(10,20)}here {\\an2}", "here ", "here "},
        {"{not a code} {\\unclosed", "{not a code} {\\unclosed", "{not a code} {\\unclosed"},
    });
  }
}

TEST(CueMarkup, SrtTagsAnyCaseFontDropped) {
  expectRendered(CueDialect::Srt, {
      {"<I>It</I> <B>b</B>", "<i>It</i> <b>b</b>", "It b"},
      {"<font color=\"#ff0\">yellow</font>", "yellow", "yellow"},
      {"<v Bob>not a voice here</v>", "not a voice here", "not a voice here"},
  });
}

TEST(CueMarkup, InlineTimestampsAreNoticed) {
  EXPECT_TRUE(renderCueText("a<00:00:01.000><c> b</c>", CueDialect::WebVtt).hasTimestamps);
  EXPECT_FALSE(renderCueText("a <c>b</c>", CueDialect::WebVtt).hasTimestamps);
}

}  // namespace
}  // namespace reVoziz::captions
