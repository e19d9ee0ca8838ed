// Finding elements below a root by id, name or unique id without reading
// every element: the browser's own id and name indexes give the candidates,
// and unique ids are kept in a table of their own. Ticks look up the list
// container by id, and the marked segment by unique id, on lists of tens of
// thousands of elements.

import { invoke, nodeTypeOf, read } from "./node_members.js";

const byUniqueId = new Map(); // unique id -> WeakRef to its element

// An entry goes once its element is gone, so that the table does not grow
// with every element a long lesson ever marked.
const forgetGone = new FinalizationRegistry((id) => {
  if (!byUniqueId.get(id)?.deref()) byUniqueId.delete(id);
});

// How many elements the table remembers.
export const rememberedCount = () => byUniqueId.size;

export function rememberUniqueId(id, element) {
  byUniqueId.set(id, new WeakRef(element));
  forgetGone.register(element, id);
}

// Elements by their name attribute, per document, rebuilt only after the tree
// or a name changed: the browser keeps no index of names.
const nameIndexes = new WeakMap(); // document -> { observer, byName }

function elementsWithName(document, name) {
  let index = nameIndexes.get(document);
  if (!index) {
    index = { byName: null };
    index.observer = new document.defaultView.MutationObserver(() => {
      index.byName = null;
    });
    index.observer.observe(document, { subtree: true, childList: true, attributes: true, attributeFilter: ["name"] });
    nameIndexes.set(document, index);
  }
  if (index.observer.takeRecords().length > 0) index.byName = null;
  if (!index.byName) {
    index.byName = new Map();
    for (const e of invoke(document, "querySelectorAll", "[name]")) {
      const key = invoke(e, "getAttribute", "name");
      if (!index.byName.has(key)) index.byName.set(key, []);
      index.byName.get(key).push(e);
    }
  }
  return index.byName.get(name) ?? [];
}

const inOrder = (a, b) => (a.compareDocumentPosition(b) & Node.DOCUMENT_POSITION_FOLLOWING ? -1 : 1);

// The elements below `root` (not `root` itself) whose id or name is `name`,
// in document order; null where the indexes do not answer: for a root that
// is not in its document, and for the empty name, which every element
// without an id has.
export function elementsNamed(root, name) {
  const document = nodeTypeOf(root) === 9 ? root : read(root, "ownerDocument");
  if (!document || !read(root, "isConnected") || name === "") return null;
  // An id selector is answered from the id index; quirks mode matches it
  // without case, so the exact id is checked.
  const found = new Set(
    [...invoke(document, "querySelectorAll", `#${CSS.escape(name)}`)].filter((e) => read(e, "id") === name),
  );
  for (const e of elementsWithName(document, name)) found.add(e);
  return [...found].filter((e) => e !== root && invoke(root, "contains", e)).sort(inOrder);
}

// The element below `root` with that unique id, or null.
export function elementWithUniqueId(root, id) {
  const element = byUniqueId.get(id)?.deref();
  return element && element !== root && invoke(root, "contains", element) ? element : null;
}
