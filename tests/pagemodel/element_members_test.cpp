// The members of page nodes: attributes as named properties, missing members,
// text nodes, markup in and out, and changes to the tree.

#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "core/error.h"
#include "support/lesson.h"

namespace reVoziz {
namespace {

class ElementMembersTest : public ::testing::Test {
 protected:
  testing::Lesson lesson{"model_frames"};
  Document trans = lesson.documentRef("tq_trans");
  Element iText = lesson.element("tq_trans", "iText");
  Element byId(std::string_view id) const { return Element(trans.all().member(id)); }
};

TEST_F(ElementMembersTest, NamedPropertiesAreAttributesWhateverTheCase) {
  EXPECT_EQ(iText.property("tq_mode"), Value("scroll"));  // written tq_Mode
  iText.setProperty("TQ_OLDSEGMENT", "ms__id3");
  EXPECT_EQ(iText.getAttribute("tq_oldsegment"), Value("ms__id3"));
  iText.setProperty("tq_Added", std::int32_t{42});
  EXPECT_EQ(iText.getAttribute("TQ_ADDED"), Value("42"));
  EXPECT_TRUE(iText.getAttribute("tq_absent").isNull());
  // A standard member asked for through getAttribute answers the property.
  EXPECT_TRUE(Element(iText.getAttribute("parentNode")).sameAs(trans.body()));

  // Serialising keeps the order and the spelling of the markup.
  const std::string html = iText.outerHTML();
  EXPECT_EQ(html.substr(0, html.find('>') + 1),
            "<div id=\"iText\" tq_insync=\"1\" tq_Mode=\"scroll\" tq_refresh=\"0\" "
            "tq_oldSegment=\"ms__id3\" tq_current=\"background-color:#ffd\" tq_Added=\"42\">");
}

TEST_F(ElementMembersTest, MissingMembersAndUnsetReferencesFail) {
  const Element text = byId("s1").nextSibling();
  const std::pair<ErrorCode, std::function<void()>> cases[] = {
      {ErrorCode::MemberNotFound, [&] { iText.property("tq_nonCurrent"); }},
      {ErrorCode::MemberNotFound, [&] { iText.all().member("nothing"); }},
      {ErrorCode::MemberNotFound, [&] { lesson.windowRef().property("tqStarted"); }},
      {ErrorCode::MemberNotFound, [&] { trans.styleSheet("no_sheet"); }},
      {ErrorCode::MemberNotFound, [&] { text.className(); }},
      {ErrorCode::ObjectRequired, [] { Element().id(); }},
      {ErrorCode::ObjectRequired, [&] { Element(iText.all().item("nothing")).style(); }},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(testing::failureOf(cases[i].second), cases[i].first) << "case " << i;
  }
}

TEST_F(ElementMembersTest, TextNodesCountAsSiblingsAndTypeNamesTellElements) {
  const Element expander = lesson.element("tq_toc", "ex1");
  const Element gap = expander.nextSibling().nextSibling();
  EXPECT_EQ(expander.nextSibling().tagName(), "A");
  EXPECT_EQ(gap.typeName(), "Text");
  EXPECT_EQ(gap.nextSibling().className(), "indent");
  EXPECT_EQ(expander.tagName(), "IMG");
  EXPECT_EQ(expander.typeName(), "HTMLImageElement");
  EXPECT_NE(trans.typeName().find("HTML"), std::string::npos);
  EXPECT_EQ(Element().typeName(), "Nothing");
}

TEST_F(ElementMembersTest, MarkupParsesOnSetAndSerialisesOnGet) {
  const std::string markup =
      "<span class=\"sync\">00:10</span> Fish &amp; chips<br>"
      "<b title=\"say &quot;hi&quot;\">bold</b><!-- note -->";
  const Element s1 = byId("s1");
  s1.setInnerHTML(markup);
  EXPECT_EQ(s1.innerHTML(), markup);
  EXPECT_EQ(s1.children().element(0).className(), "sync");
  EXPECT_EQ(s1.innerText(), "00:10 Fish & chips\nbold");
  EXPECT_EQ(s1.outerHTML(), "<div class=\"segment\" tq_start=\"00:00:10\" id=\"s1\">" + markup + "</div>");

  byId("s2").setOuterHTML("<p id=\"p2\">Two</p><p id=\"p3\">Three</p>");
  EXPECT_TRUE(trans.all().item("s2").isNull());
  EXPECT_TRUE(byId("p2").parentElement().sameAs(iText));
  EXPECT_EQ(iText.children().element(3).id(), "p3");

  byId("after").setInnerText("a <b> & c");
  EXPECT_EQ(byId("after").innerText(), "a <b> & c");
  EXPECT_EQ(byId("after").innerHTML(), "a &lt;b&gt; &amp; c");
}

TEST_F(ElementMembersTest, UnknownTagsKeepTheNameTheTokenizerReads) {
  // An ignored "</>" before an unknown tag is no part of its name; nor is what
  // follows the name inside the tag.
  const Element s1 = byId("s1");
  s1.setInnerHTML("z</><Note-X lang=es>a</note-x><my-tag/>");
  EXPECT_EQ(s1.innerHTML(), "z<note-x lang=\"es\">a</note-x><my-tag></my-tag>");
  EXPECT_EQ(s1.children().element(0).tagName(), "NOTE-X");
}

TEST_F(ElementMembersTest, CloneNodeCopiesAndRemoveNodeTakesOrLeavesTheChildren) {
  const Element copy = byId("s1").cloneNode(true);
  EXPECT_EQ(copy.outerHTML(), byId("s1").outerHTML());
  EXPECT_FALSE(copy.parentNode().isSet());
  EXPECT_NE(copy.uniqueID(), byId("s1").uniqueID());
  copy.children().element(0).setInnerText("09:00");
  EXPECT_EQ(byId("s1").innerText(), "00:10 One");
  EXPECT_EQ(byId("s1").cloneNode(false).innerHTML(), "");

  EXPECT_EQ(byId("s1").removeNode(true).innerText(), "00:10 One");
  EXPECT_TRUE(trans.all().item("s1").isNull());
  const Element sync = byId("s3").children().element(0);
  byId("s3").removeNode(false);
  EXPECT_TRUE(trans.all().item("s3").isNull());
  // The children take the element's place, in order: the sync span, its text.
  EXPECT_TRUE(byId("s2").nextSibling().nextSibling().sameAs(sync));
  EXPECT_EQ(sync.nextSibling().nextSibling().nextSibling().id(), "s4");
}

TEST_F(ElementMembersTest, InsertAdjacentElementMovesTheElementWhereAsked) {
  iText.insertAdjacentElement("beforeEnd", byId("last"));
  EXPECT_EQ(iText.children().element(10).id(), "last");
  // {where, target, moved, the element that must then precede `moved`}
  const std::array<std::array<const char*, 4>, 4> cases = {{{"beforeBegin", "s5", "s1", "s4"},
                                                           {"afterEnd", "s6", "s2", "s6"},
                                                           {"afterBegin", "iText", "s9", ""},
                                                           {"beforeBegin", "s3", "s8", "s0"}}};
  for (const auto& [where, target, moved, before] : cases) {
    byId(target).insertAdjacentElement(where, byId(moved));
    const Collection kids = iText.children();
    ASSERT_EQ(kids.length(), 11);
    std::int32_t at = 0;
    while (at < 10 && kids.element(at).id() != moved) ++at;
    EXPECT_EQ(at == 0 ? "" : kids.element(at - 1).id(), before) << where << " " << moved;
  }
  // An element cannot go into its own content; nothing moves.
  EXPECT_THROW(byId("s0").insertAdjacentElement("beforeEnd", iText), Error);
  EXPECT_TRUE(iText.parentElement().sameAs(trans.body()));
}

TEST_F(ElementMembersTest, AttributeNodesCanBeListedAndRemoved) {
  const Element s3 = byId("s3");
  const Attribute start(s3.attributes().item(1));
  EXPECT_EQ(start.nodeName(), "tq_start");
  EXPECT_EQ(start.nodeValue(), Value("00:00:30"));
  s3.removeAttributeNode(start);
  EXPECT_TRUE(s3.getAttribute("tq_start").isNull());
  EXPECT_EQ(s3.attributes().length(), 2);
  EXPECT_THROW(byId("s4").removeAttributeNode(Attribute(s3.attributes().item(0))), Error);
  EXPECT_EQ(s3.attributes().length(), 2);
}

TEST_F(ElementMembersTest, WritesCountPageChangesAndReadsDoNot) {
  const auto document = lesson.document("tq_trans");
  const Element s4 = byId("s4");
  const auto before = document->writes();
  // What a tick reads when its segment has not changed.
  (void)(iText.all().tags("DIV").element(4).offsetHeight() + s4.offsetTop() +
         iText.offsetParent().scrollTop() + iText.offsetParent().clientHeight());
  (void)(s4.property("tq_start").toText() + iText.getAttribute("tq_insync").toText() +
         s4.style().cssText() + s4.cloneNode(true).outerHTML());
  (void)iText.all().item(s4.uniqueID());
  EXPECT_EQ(document->writes(), before);

  const std::function<void()> writes[] = {
      [&] { s4.setAttribute("tq_refresh", "1"); },
      [&] { s4.setProperty("tq_oldSegment", "x"); },
      [&] { s4.style().setCssText("color: red"); },
      [&] { s4.runtimeStyle().setCssText("color: blue"); },
      [&] { s4.setInnerHTML("Four"); },
      [&] { s4.scrollIntoView(true); },
      [&] { StyleRule(trans.styleSheet("tq_style").rules().item(0)).style().setAttribute("display", "none"); },
  };
  for (std::size_t i = 0; i < std::size(writes); ++i) {
    const auto count = document->writes();
    writes[i]();
    EXPECT_EQ(document->writes(), count + 1) << "write " << i;
  }
  const auto count = document->writes();
  lesson.element("tq_toc", "ex1").setSrc("close.gif");  // another document's write
  EXPECT_EQ(document->writes(), count);
}

// The browser host's test of the same lesson expects the very same texts, so
// that a notes file saved on one host matches the title on the other.
TEST(PageTextsTest, TitleAndInnerTextKeepTheMarkupsSpacing) {
  const testing::Lesson lesson{"web_title"};
  EXPECT_EQ(lesson.documentRef().title(), "  Lección   antigua &\n  luz ");
  EXPECT_EQ(Element(lesson.documentRef().all().member("label")).innerText(), "  Tema\n  uno\ndos oculto");
}

}  // namespace
}  // namespace reVoziz
