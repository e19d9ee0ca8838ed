// The members of nodes and documents as their prototypes define them,
// captured once. A form's named controls (`<input name="attributes">`) and a
// document's named images stand in for members of the same name, so the host
// layer reads what it and the control need through these, never through the
// object itself.

const descriptorOf = (prototype, name) => {
  for (let p = prototype; p; p = Object.getPrototypeOf(p)) {
    const found = Object.getOwnPropertyDescriptor(p, name);
    if (found) return found;
  }
  throw new Error(`The browser has no ${name}`);
};

function capture(prototype, readable, callable) {
  const reads = new Map();
  const writes = new Map();
  for (const name of readable) {
    const { get, set } = descriptorOf(prototype, name);
    reads.set(name, get);
    if (set) writes.set(name, set);
  }
  const calls = new Map(callable.map((name) => [name, descriptorOf(prototype, name).value]));
  return { reads, writes, calls };
}

const NODE = capture(
  Node.prototype,
  ["nodeType", "nodeName", "nodeValue", "parentNode", "parentElement", "firstChild", "lastChild", "nextSibling",
    "previousSibling", "childNodes", "ownerDocument", "isConnected", "textContent"],
  ["contains", "cloneNode", "compareDocumentPosition", "appendChild", "insertBefore", "removeChild"],
);

const ELEMENT = capture(
  Element.prototype,
  ["attributes", "tagName", "localName", "id", "children", "innerHTML", "outerHTML"],
  ["getAttribute", "setAttribute", "hasAttribute", "removeAttribute", "removeAttributeNode", "getAttributeNode",
    "getElementsByTagName", "querySelectorAll", "replaceWith", "replaceChildren", "remove", "insertAdjacentElement",
    "append"],
);

const DOCUMENT = capture(
  Document.prototype,
  ["body", "documentElement", "defaultView"],
  ["querySelectorAll", "getElementsByTagName", "createElement", "createTextNode", "createComment", "createRange",
    "getSelection", "execCommand"],
);

const NODE_TYPE = NODE.reads.get("nodeType");

// The node type, whatever the node's named members say; undefined for
// anything that is no node.
export function nodeTypeOf(o) {
  if (o === null || typeof o !== "object") return undefined;
  const type = o.nodeType;
  if (type === undefined || typeof type === "number") return type;
  try {
    return NODE_TYPE.call(o);
  } catch {
    return undefined;
  }
}

const OF_ELEMENT = [ELEMENT, NODE];
const OF_DOCUMENT = [DOCUMENT, NODE];
const OF_NODE = [NODE];
const OF_NOTHING = [];
const membersOf = (o) => {
  switch (nodeTypeOf(o)) {
    case 1: return OF_ELEMENT;
    case 9: return OF_DOCUMENT;
    case undefined: return OF_NOTHING;
    default: return OF_NODE;
  }
};

const find = (o, kind, name) => {
  for (const members of membersOf(o)) {
    const found = members[kind].get(name);
    if (found) return found;
  }
  return undefined;
};

export const read = (o, name) => find(o, "reads", name).call(o);
// False when the prototypes give no way to write the member.
export function write(o, name, value) {
  const setter = find(o, "writes", name);
  if (setter) setter.call(o, value);
  return Boolean(setter);
}
export const invoke = (o, name, ...args) => find(o, "calls", name).apply(o, args);
export const canRead = (o, name) => Boolean(find(o, "reads", name));
// An element's attribute, or null: what a walk over a list reads most.
const GET_ATTRIBUTE = ELEMENT.calls.get("getAttribute");
export const attributeOf = (element, name) => GET_ATTRIBUTE.call(element, name);
export const canInvoke = (o, name) => Boolean(find(o, "calls", name));

// `name in window` without the window's named elements and frames, which
// the named-properties object between its prototypes answers.
export function isWindowMember(win, name) {
  const named = Object.getPrototypeOf(win.Window.prototype);
  for (let p = win; p; p = Object.getPrototypeOf(p)) {
    if (p !== named && Object.hasOwn(p, name)) return true;
  }
  return false;
}
