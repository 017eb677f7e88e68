// Filled by tools/gen-html-entities.
