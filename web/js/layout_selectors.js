// What the layout rules of a document's style sheets select on. A rule that
// only paints (colours, outlines, shadows, cursors) cannot hide a segment or
// give it another height, so the attributes it selects on may change
// freely; a rule that lays out makes its attributes count, and one that
// selects on the tree's shape (siblings, :has(), :nth-child, :empty) makes
// every change of the tree count. A sheet that cannot be read (another
// site's) makes everything count.

// Longhand properties that never change a box's size or whether it has one.
const PAINT_ONLY =
  /^(color|opacity|visibility|cursor|caret-color|accent-color|pointer-events|user-select|filter|fill|stroke(-[a-z-]+)?|background(-[a-z-]+)?|outline(-[a-z-]+)?|box-shadow|text-shadow|text-decoration(-[a-z-]+)?|border(-[a-z-]+)?-color|scroll-(padding|margin)(-[a-z-]+)?|scroll-behavior)$/;

// Selectors whose match depends on siblings, descendants or position.
const STRUCTURAL = /:has\(|:nth-|-child\b|-of-type\b|:empty\b|[~+]/;

const EVERYTHING = Object.freeze({ everything: true, structural: true, attributes: new Set() });

const paintsOnly = (style) => {
  for (let i = 0; i < style.length; i++) if (!PAINT_ONLY.test(style[i])) return false;
  return true;
};

function addRules(rules, found) {
  for (const rule of rules) {
    const selector = rule.selectorText;
    if (typeof selector === "string" && rule.style && !paintsOnly(rule.style)) {
      // Attribute values are text, not combinators.
      const bare = selector.replace(/\[[^\]]*\]/g, "[]");
      if (STRUCTURAL.test(bare)) found.structural = true;
      for (const [, name] of selector.matchAll(/\[\s*(?:[\w-]*\|)?([\w-]+)/g)) found.attributes.add(name.toLowerCase());
    }
    // Grouping rules (@media, @supports, @layer, nesting) hold rules of their own.
    if (rule.cssRules) addRules(rule.cssRules, found);
  }
}

// { everything, structural, attributes } for the document's sheets as they
// are now.
export function layoutSelectorsOf(document) {
  const found = { everything: false, structural: false, attributes: new Set() };
  try {
    for (const sheet of [...document.styleSheets, ...(document.adoptedStyleSheets ?? [])]) addRules(sheet.cssRules, found);
  } catch {
    return EVERYTHING;
  }
  return found;
}
