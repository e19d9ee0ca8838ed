#pragma once
// Deterministic layout without rendering. Elements of block tags stack in
// rows in document order, whatever their display value other than "none";
// text and inline tags share one row of the document's line height. An
// element is hidden when its display, or an ancestor's, is "none", from its
// inline style or from a rule of its document's sheets. Tests may impose
// heights, tops and client heights.

#include "pagemodel/node.h"

namespace reVoziz::pagemodel::layout {

bool isDisplayed(const Node& element);
int offsetHeight(const Node& element);
// The nearest positioned ancestor, or the body.
Node* offsetParent(const Node& element);
// Top edge relative to the offset parent's content.
int offsetTop(const Node& element);
int clientHeight(const Node& element);
int scrollHeight(const Node& element);
// Scrolls the offset parent so that the element's top (or bottom) edge lines
// up with the top (or bottom) of the visible band, and records the call.
void scrollIntoView(Node& element, bool alignToTop);

// What a change makes the remembered layout forget, so that a change costs
// the boxes it can move rather than a relayout of the document. Changes of
// sheets and line heights move the layout generation instead.
// The element's own look (its style, class or id) changed: its box, and the
// boxes around it only when its display or height moved.
void forgetLook(const Node& element);
// What lies below the node changed: its height, and its ancestors'.
void forgetContent(const Node& node);
// Everything remembered in the subtree, which may come from another document.
void forgetSubtree(const Node& node);

}  // namespace reVoziz::pagemodel::layout
