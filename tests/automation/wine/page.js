// A small page and player made of JScript objects, playing the parts of the
// window, document, collections, elements and media player that a lesson page
// hands to the control.

var nextUniqueId = 1;

function Collection(items) {
  var c = {};
  c.length = items.length;
  c.item = function (key) {
    if (typeof key == "number") return key < items.length ? items[key] : null;
    for (var i = 0; i < items.length; i++) {
      if (items[i].id == key || items[i].uniqueID == key) return items[i];
    }
    return null;
  };
  c.tags = function (tag) {
    var found = [];
    for (var i = 0; i < items.length; i++) if (items[i].tagName == tag) found.push(items[i]);
    return Collection(found);
  };
  for (var i = 0; i < items.length; i++) if (items[i].id) c[items[i].id] = items[i];
  return c;
}

// An element with attributes (also readable as members, as custom attributes
// are) and children; `log` records what the control did to it.
function Element(id, attributes, children) {
  var e = { id: id, tagName: "DIV", className: "", uniqueID: "ms__id" + nextUniqueId++,
            parentElement: null, offsetTop: 0, offsetHeight: 20, offsetParent: null,
            scrollTop: 0, clientHeight: 1000, style: { cssText: "", display: "" }, log: [] };
  var attrs = attributes || {};
  children = children || [];
  for (var name in attrs) {
    e[name] = attrs[name];
    if (name == "class") e.className = attrs[name];
  }
  e.getAttribute = function (name) { return name in attrs ? attrs[name] : null; };
  e.setAttribute = function (name, value) { attrs[name] = value; e[name] = value; };
  e.scrollIntoView = function (top) { e.log.push("scrollIntoView " + top); };
  var all = [];
  for (var i = 0; i < children.length; i++) {
    children[i].parentElement = e;
    children[i].offsetTop = 20 * i;
    all.push(children[i]);
  }
  e.children = Collection(children);
  e.all = Collection(all);
  return e;
}

function Segment(id, start) {
  return Element(id, { "class": "segment", tq_start: start });
}

// A segment list as the tick reads it: container iText with its state attributes.
function SegmentList(starts) {
  var segments = [];
  for (var i = 0; i < starts.length; i++) segments.push(Segment("s" + starts[i], starts[i]));
  var list = Element("iText", { tq_insync: "1", tq_mode: "", tq_refresh: "0", tq_oldSegment: "",
                                tq_current: "color: red", tq_nonCurrent: "color: black" }, segments);
  list.offsetParent = Element("band", {});
  return list;
}

// `document.implementation`: the documents it makes hold no elements the
// control would clean, so markup put into their body reads back as it is.
function InertDocuments() {
  var implementation = { made: 0 };
  implementation.createHTMLDocument = function () {
    implementation.made++;
    return { body: { innerHTML: "", all: Collection([]), firstChild: null } };
  };
  return implementation;
}

function Window(document) {
  var w = { document: document, event: null };
  // As in the browser these pages were written for, whose cleaning asks it.
  document.parentWindow = w;
  w.confirm = function () { return true; };
  return w;
}

function Frame(list) {
  return Window({ all: Collection([list]) });
}

// A lesson: a top window whose document has the frames "tq_toc" and "tq_trans".
function Lesson(starts) {
  var toc = SegmentList(starts), trans = SegmentList(starts);
  var top = Window({ frames: Collection([]) });
  var frames = { length: 2, tq_toc: Frame(toc), tq_trans: Frame(trans) };
  top.document.frames = frames;
  return { window: top, toc: toc, trans: trans };
}

function Player(position) {
  var controls = { currentPosition: position, plays: 0, seeks: [] };
  controls.play = function () { controls.plays++; };
  return { controls: controls, width: "320px", height: "240px" };
}
