// Hostile clipboard fragments, in the forms public XSS cheat sheets list,
// pasted through the edit bar's paste button: the road a user takes. Each
// must leave nothing executable in the notes, nothing that stands in for a
// member the page's handlers or the control look up, nothing that loads from
// elsewhere or navigates a frame of the lesson, and the harmless markup
// around it must stay.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "pagemodel/browser_member_names.h"
#include "pagemodel/html_serializer.h"
#include "support/notes_page.h"

namespace reVoziz {
namespace {

using pagemodel::NodePtr;

constexpr auto kVectors = std::to_array<std::string_view>({
    // Script elements, plain and disguised.
    "<script>alert(1)</script>",
    "<SCRIPT SRC=http://xss.example/xss.js></SCRIPT>",
    "<<SCRIPT>alert(\"XSS\");//<</SCRIPT>",
    "<SCRIPT/XSS SRC=\"http://xss.example/xss.js\"></SCRIPT>",
    "<IMG \"\"\"><SCRIPT>alert(\"XSS\")</SCRIPT>\">",
    "<svg><script>alert(1)</script></svg>",
    "<script type=\"text/vbscript\">MsgBox 1</script>",
    // Event handlers, in every case and on many elements.
    "<IMG SRC=/ onerror=\"alert(String.fromCharCode(88,83,83))\"></img>",
    "<img src=x onerror=alert(1)//>",
    "<BGSOUND SRC=\"javascript:alert('XSS');\">",
    "<div onmouseover=\"alert(1)\">hover</div>",
    "<svg onload=alert(1)>",
    "<svg/onload=alert(1)>",
    "<input onfocus=alert(1) autofocus>",
    "<select onfocus=alert(1) autofocus><option>a</option></select>",
    "<textarea onfocus=alert(1) autofocus></textarea>",
    "<video><source onerror=\"alert(1)\"></video>",
    "<audio src=x onerror=alert(1)>",
    "<details open ontoggle=alert(1)>d</details>",
    "<marquee onstart=alert(1)>m</marquee>",
    "<a href=\"#\" OnClIcK=\"alert(1)\">a</a>",
    "<span onmouseenter=alert(1) onmouseleave=alert(2)>s</span>",
    "<table background=x onerror=alert(1)><tr><td onclick=alert(2)>t</td></tr></table>",
    "<isindex type=image src=1 onerror=alert(1)>",
    "<img src=x:alert(alt) onerror=eval(src) alt=0>",
    // Script addresses, written every way a browser still reads them.
    "<a href=\"javascript:alert(1)\">a</a>",
    "<IMG SRC=javascript:alert('XSS')>",
    "<IMG SRC=JaVaScRiPt:alert('XSS')>",
    "<IMG SRC=\"jav\tascript:alert('XSS');\">",
    "<IMG SRC=\"jav&#x09;ascript:alert('XSS');\">",
    "<IMG SRC=\"jav&#x0A;ascript:alert('XSS');\">",
    "<IMG SRC=\"jav&#x0D;ascript:alert('XSS');\">",
    "<IMG SRC=\" &#14;  javascript:alert('XSS');\">",
    "<IMG SRC=&#106;&#97;&#118;&#97;&#115;&#99;&#114;&#105;&#112;&#116;&#58;&#97;&#108;&#101;&#114;&#116;&#40;&#39;&#88;&#83;&#83;&#39;&#41;>",
    "<IMG SRC=&#0000106&#0000097&#0000118&#0000097&#0000115&#0000099&#0000114&#0000105&#0000112&#0000116&#0000058&#0000097&#0000108&#0000101&#0000114&#0000116&#0000040&#0000039&#0000088&#0000083&#0000083&#0000039&#0000041>",
    "<IMG SRC=&#x6A&#x61&#x76&#x61&#x73&#x63&#x72&#x69&#x70&#x74&#x3A&#x61&#x6C&#x65&#x72&#x74&#x28&#x27&#x58&#x53&#x53&#x27&#x29>",
    "<a href=\"vbscript:msgbox(1)\">v</a>",
    "<IMG DYNSRC=\"javascript:alert('XSS')\"><IMG LOWSRC=\"javascript:alert('XSS')\">",
    "<form action=\"javascript:alert(1)\"><button formaction=\"javascript:alert(2)\">b</button></form>",
    "<TABLE BACKGROUND=\"javascript:alert('XSS')\"><TR><TD BACKGROUND=\"javascript:alert(1)\">t</TD></TR></TABLE>",
    "<svg><a xlink:href=\"javascript:alert(1)\"><text>x</text></a></svg>",
    "<math href=\"javascript:alert(1)\">m</math>",
    "<a href=\"&#x6A;avascript&colon;alert(1)\">c</a>",
    // Elements that load or run something of their own.
    "<IFRAME SRC=\"javascript:alert('XSS');\"></IFRAME><iframe srcdoc=\"<script>alert(1)</script>\"></iframe>",
    "<EMBED SRC=\"javascript:alert(1)\"><P STYLE=\"color:red\" ONCLICK=\"alert(1)\">p</P>",
    "<OBJECT TYPE=\"text/x-scriptlet\" DATA=\"http://xss.example/scriptlet.html\"></OBJECT>",
    "<EMBED SRC=\"data:image/svg+xml;base64,PHN2Zz48L3N2Zz4=\" type=\"image/svg+xml\"></EMBED><APPLET CODE=x.class>a</APPLET>",
    "<META HTTP-EQUIV=\"refresh\" CONTENT=\"0;url=javascript:alert('XSS');\"><BASE HREF=\"javascript:alert('XSS');//\">"
    "<LINK REL=\"stylesheet\" HREF=\"javascript:alert('XSS');\">",
    // Content that a browser with scripting reads as text and a parser
    // without it reads as elements, or the other way round.
    "<noscript><p title=\"</noscript><img src=x onerror=alert(1)>\"></p></noscript>",
    "<noembed><p title=\"</noembed><img src=x onerror=alert(1)>\"></p></noembed>",
    "<noframes><p title=\"</noframes><img src=x onerror=alert(1)>\"></p></noframes>",
    "<xmp><p title=\"</xmp><img src=x onerror=alert(1)>\"></p></xmp>",
    "<style>@import 'javascript:alert(1)';</style><p>after style</p>",
    "<template><img src=x onerror=alert(1)></template>",
    // Comments, conditional ones included.
    "<!--[if gte IE 4]><SCRIPT>alert('XSS');</SCRIPT><![endif]-->",
    "<!-- <img src=x onerror=alert(1)> -->",
    // Script in styles, behind comments and escapes.
    "<div style=\"width: expression(alert(1))\">e</div>",
    "<div style=\"xss:ex/**/pression(alert(1))\">c</div>",
    "<div style=\"background-image: url(j\\61vascript:alert(1))\">x</div>",
    "<div style=\"background:url(&#1;javascript:alert(1))\">b</div>",
    "<div style=\"behavior: url(x.htc)\">h</div><div style=\"-moz-binding: url(x.xml#xss)\">m</div>",
    // Addresses inside lists.
    "<svg><animate attributeName=\"href\" values=\"0;javascript:alert(1)\"/><a><text>t</text></a></svg>",
    "<img srcset=\"a.png 1x, javascript:alert(1) 2x\">",
    // Ids the notes page looks up, which would break the editor or the file commands.
    "<b id=\"notes\">x</b><a name=\"notesFile\">y</a><i id=\"save\">z</i><u id=\"notesTemplate\">t</u>",
    "<p id=\"iText\">i</p><b id=\"tq_toc\">t</b><a id=\"frameToc\" name=\"tq_trans\">f</a><i id=\"TQ_x\">x</i>",
    // Named elements that stand in for a form's own members, which hides the
    // form's handlers and addresses from a cleaning that reads them there.
    "<form onmouseover=\"parent.tq.x()\" action=\"javascript:parent.tq.x()\"><input name=\"attributes\">"
    "<input name=\"attributes\"></form>",
    "<form onmouseover=\"parent.tq.x()\"><select name=\"attributes\"><option>o</option></select></form>",
    "<form><div></form><b onclick=\"parent.tq.x()\">x</b>",
    "<form onclick=\"x()\"><input name=\"tagName\"><input name=\"childNodes\"><input name=\"firstChild\">"
    "<input name=\"nextSibling\"><input name=\"nodeType\"><input name=\"removeAttributeNode\"></form>",
    // Names that stand in for the document's or the window's members inside
    // the notes page's handlers, which look names up on the document first.
    "<img name=\"parent\"><img name=\"window\"><img name=\"querySelectorAll\"><a name=\"getSelection\">g</a>",
    "<a id=\"body\" name=\"all\">b</a><span id=\"children\">c</span><p id=\"innerHTML\">p</p>",
    // Links into the lesson's frames, and data: documents.
    "<a href=\"http://x.example/\" target=\"notesTemplate\">t</a><a href=\"https://x.example/\" target=\"tq_toc\">u</a>",
    "<a href=\"data:text/html,<script>alert(1)</script>\">d</a><form action=\"data:text/html,x\"><button>b</button></form>",
    // What fetches from elsewhere as the notes open or the paste lands.
    "<img src=\"http://x.example/p.gif\" alt=\"pixel\"><img src=\"//x.example/q.gif\">",
    "<img srcset=\"http://x.example/a.png 1x\"><video poster=\"http://x.example/p.png\"></video>",
    "<table background=\"http://x.example/b.png\"><tr><td background=\"http://x.example/c.png\">t</td></tr></table>",
    "<svg><image href=\"http://x.example/i.png\"/><use xlink:href=\"http://x.example/u.svg#a\"/></svg>",
    "<img src=\"data:image/svg+xml,<svg onload='alert(1)'/>\">",
    "<p style=\"background:url(http://x.example/b.png)\">u</p><p style=\"background:u\\72l(http://x.example/e.png)\">e</p>",
    "<p style=\"font-family:'/*';background:url(http://x.example/c.png)\">c</p>",
    "<div style=\"list-style:image-set('http://x.example/i.png' 1x)\">i</div><i style=\"@import 'x.css'\">s</i>",
});

constexpr std::array<std::string_view, 17> kRemovedKinds = {
    "object", "script",   "iframe",  "frame",    "frameset", "embed", "applet", "meta",    "base",
    "link",   "noscript", "noembed", "noframes", "xmp",      "plaintext", "style", "template"};

// Elements a named control or an address hides behind.
constexpr std::array<std::string_view, 6> kFormKinds = {"form", "input", "select", "button", "svg", "video"};

constexpr std::array<std::string_view, 8> kPageIds = {
    "pastePoint", "syncTemplate", "notes", "notesFile", "notesTemplate", "save", "paste", "synctag"};

// Read as a browser reads an address: white space and control characters
// inside and before the scheme count for nothing, and neither does case.
bool runsScript(std::string_view value) {
  std::string squeezed;
  for (const char c : value) {
    const auto u = static_cast<unsigned char>(c);
    if (u > 0x20 && u != 0x7F) squeezed += static_cast<char>(std::tolower(u));
  }
  return squeezed.starts_with("javascript:") || squeezed.starts_with("vbscript:");
}

// Any item of a list value that runs script.
bool listRunsScript(std::string_view value) {
  for (std::size_t start = 0; start <= value.size();) {
    const auto end = value.find_first_of(";,", start);
    if (runsScript(value.substr(start, end == std::string_view::npos ? end : end - start))) return true;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return false;
}

// A style this check cannot read plainly: escapes and comments outside plain
// quoted strings count as suspect, besides the words that run script.
bool suspectStyle(std::string value) {
  std::transform(value.begin(), value.end(), value.begin(), [](unsigned char c) { return std::tolower(c); });
  std::string unquoted;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const auto close = value.find(value[i], i + 1);
    const bool plainString = (value[i] == '\'' || value[i] == '"') && close != std::string::npos &&
                             value.substr(i, close - i).find('\\') == std::string::npos;
    if (plainString) i = close;
    else unquoted += value[i];
  }
  if (unquoted.find("\\") != std::string::npos || unquoted.find("/*") != std::string::npos) return true;
  for (const std::string_view word : {"expression", "javascript", "behavior", "binding", "\\"}) {
    if (value.find(word) != std::string::npos) return true;
  }
  return false;
}

// Own names the control and the page look up, besides the page's ids.
constexpr std::array<std::string_view, 5> kLookedUpNames = {"iText", "tq_toc", "tq_trans", "frameToc",
                                                            "notesTemplate"};

bool namesAMember(const std::string& value) {
  using enum pagemodel::BrowserObject;
  return pagemodel::isBrowserMember(Window, value) || pagemodel::isBrowserMember(Document, value) ||
         pagemodel::isBrowserMember(Form, value) || value.starts_with("tq_") || value.starts_with("TQ_") ||
         std::find(kLookedUpNames.begin(), kLookedUpNames.end(), value) != kLookedUpNames.end();
}

// What loads from elsewhere or opens inside the lesson.
void reachesOut(const pagemodel::Node& e, const pagemodel::Attribute& a, const std::string& name,
                std::vector<std::string>& found) {
  std::string value = a.value;
  std::transform(value.begin(), value.end(), value.begin(), [](unsigned char c) { return std::tolower(c); });
  if ((name == "src" && !value.starts_with("data:image/png") && !value.starts_with("data:image/gif")) ||
      name == "srcset" || name == "poster" || name == "background" || name == "action" ||
      (name.ends_with("href") && e.tag() != "a")) {
    found.push_back("address in " + name);
  }
  if (name == "href" && e.tag() == "a" && !value.starts_with("http") && !value.starts_with("mailto:")) {
    found.push_back("link to " + a.value);
  }
  if (name == "target" && a.value != "_blank") found.push_back("target " + a.value);
  if (name == "style" && (value.find("url(") != std::string::npos || value.find("\\") != std::string::npos ||
                          value.find('@') != std::string::npos || value.find("image-set") != std::string::npos)) {
    found.push_back("style " + a.value);
  }
}

// What is still executable under `root`, described for the failure message.
std::vector<std::string> executableLeft(const NodePtr& root) {
  std::vector<std::string> found;
  root->forEachDescendantElement([&](const NodePtr& e) {
    if (std::find(kRemovedKinds.begin(), kRemovedKinds.end(), e->tag()) != kRemovedKinds.end() ||
        std::find(kFormKinds.begin(), kFormKinds.end(), e->tag()) != kFormKinds.end()) {
      found.push_back("element " + e->tag());
    }
    for (const auto& a : e->attributes()) {
      std::string name = a.name;
      std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
      const bool blank = a.value.find_first_not_of(' ') == std::string::npos;
      if (name.starts_with("on") && !blank) found.push_back("handler " + a.name);
      if (listRunsScript(a.value)) found.push_back("address in " + a.name);
      if (name == "style" && suspectStyle(a.value)) found.push_back("style " + a.value);
      if ((name == "id" || name == "name") &&
          (std::find(kPageIds.begin(), kPageIds.end(), a.value) != kPageIds.end() || namesAMember(a.value))) {
        found.push_back("taken name " + a.value);
      }
      reachesOut(*e, a, name, found);
    }
    return true;
  });
  if (pagemodel::serializeChildren(*root).find("<!--") != std::string::npos) found.push_back("comment");
  return found;
}

class HostilePaste : public ::testing::TestWithParam<std::string_view> {};

TEST_P(HostilePaste, LeavesNothingExecutableAndKeepsTheMarkupBesideIt) {
  testing::NotesPage page;
  page.top->clipboard.html =
      "<b id=\"keptBefore\">keep</b>" + std::string(GetParam()) + "<i id=\"keptAfter\" title=\"t\">also</i>";
  testing::caretAtEnd(page.doc(), page.node("", "first"));
  page.click("paste");

  // The notes hold an image of their own, after "second"; the paste lands in "first".
  const auto left = executableLeft(page.node("", "first"));
  EXPECT_TRUE(left.empty()) << ::testing::PrintToString(left) << "\n" << page.notesHtml();
  ASSERT_NE(page.doc().elementById("keptBefore"), nullptr) << page.notesHtml();
  EXPECT_EQ(page.doc().elementById("keptBefore")->parent(), page.node("", "first").get());
  ASSERT_NE(page.doc().elementById("keptAfter"), nullptr) << page.notesHtml();
  EXPECT_EQ(pagemodel::serializeNode(*page.doc().elementById("keptAfter")),
            "<i id=\"keptAfter\" title=\"t\">also</i>");
  EXPECT_EQ(page.notesHtml().find("[paste]"), std::string::npos);
  EXPECT_FALSE(page.control.editor().pasteInProgress());
  EXPECT_TRUE(page.top->scriptErrors.empty());
  // The rest of the notes is untouched.
  EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "second")), "Second <b id=\"strong\">bold</b> line.");
}

INSTANTIATE_TEST_SUITE_P(CheatSheetVectors, HostilePaste, ::testing::ValuesIn(kVectors));

TEST(HostilePasteCorpus, TheCheckCatchesWhatTheCorpusCarries) {
  // Unless the check itself finds each vector executable, passing proves nothing.
  for (const std::string_view vector : kVectors) {
    testing::Lesson lesson("editor_notes");
    lesson.element("", "lessonText").setInnerHTML(vector);
    EXPECT_FALSE(executableLeft(lesson.node("", "lessonText")).empty()) << vector;
  }
}

}  // namespace
}  // namespace reVoziz
