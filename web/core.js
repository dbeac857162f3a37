'use strict';

// The Tidewell core, compiled to WebAssembly, behind plain JavaScript values:
// byte arrays in and out, texts as strings. Every rule and every text comes
// from the module.
async function loadTidewellCore(wasmBytes) {
  const module = await WebAssembly.compile(wasmBytes);
  // The module imports a few WASI calls from libc's stdio, which nothing on
  // the page's path makes: each answers "not supported" (ENOSYS).
  const stubs = {};
  for (const { module: from, name } of WebAssembly.Module.imports(module)) {
    stubs[from] ??= {};
    stubs[from][name] = () => 52;
  }
  const instance = await WebAssembly.instantiate(module, stubs);
  const core = instance.exports;
  core._initialize();

  const utf8 = new TextEncoder();
  const fromUtf8 = new TextDecoder();
  // A copy: the module reuses its memory. (Copying through the constructor is much faster than slice().)
  const resultBytes = () => new Uint8Array(new Uint8Array(core.memory.buffer, core.tw_result_data(), core.tw_result_size()));
  const resultText = () => fromUtf8.decode(resultBytes());
  const resultLines = () => {
    const text = resultText();
    return text === '' ? [] : text.split('\n');
  };
  // Calls `call` with the bytes copied into the module's memory.
  const withBytes = (bytes, call) => {
    const at = core.tw_alloc(Math.max(bytes.length, 1));
    try {
      new Uint8Array(core.memory.buffer, at, bytes.length).set(bytes);
      return call(at, bytes.length);
    } finally {
      core.tw_free(at);
    }
  };
  const withText = (text, call) => withBytes(utf8.encode(text), call);
  const withShown = (shown, call) => {
    const at = core.tw_alloc(shown.length * 4);
    try {
      new Int32Array(core.memory.buffer, at, shown.length).set(shown.map((byte) => byte ?? -1));
      return call(at);
    } finally {
      core.tw_free(at);
    }
  };

  return {
    // The refusal of a file of this many bytes, before it is read; null when it may be read.
    refusalBySize(size) {
      return core.tw_refused_by_size(size) ? resultText() : null;
    },
    // The opened ROM's game and values, or { refusal }.
    open(image) {
      const at = core.tw_image_buffer(image.length); // before the memory's buffer: it may grow
      new Uint8Array(core.memory.buffer, at, image.length).set(image);
      if (!core.tw_open()) return { refusal: resultText() };
      const [name, code, language, caption] = resultLines();
      core.tw_values();
      return { game: { name, code, language, caption }, values: Array.from(resultBytes()) };
    },
    // Whether fifteen shown values (null for a control showing nothing) differ from the ROM's.
    isEdited: (shown) => withShown(shown, (at) => core.tw_is_edited(at) === 1),
    levelByte(text) {
      const byte = withText(text, (at, size) => core.tw_level_byte(at, size));
      return byte < 0 ? null : byte;
    },
    defaultSelection() {
      core.tw_default_selection();
      return Array.from(resultBytes());
    },
    speciesNames() {
      core.tw_catalogue(0);
      return resultLines();
    },
    itemNames() {
      core.tw_catalogue(1);
      return resultLines();
    },
    // The opened ROM's picture of a species as ImageData (square, colour 0
    // transparent), or null. Its pixels lie in the module's memory, good
    // until the next call: draw them at once.
    picture(species) {
      const width = core.tw_picture(species);
      if (width === 0) return null;
      return new ImageData(new Uint8ClampedArray(core.memory.buffer, core.tw_result_data(), core.tw_result_size()), width);
    },
    saveWarnings(values) {
      withBytes(values, (at) => core.tw_save_warnings(at));
      return resultLines();
    },
    missingLevelText: () => (core.tw_text(0), resultText()),
    missingChoiceText: () => (core.tw_text(1), resultText()),
    saveAnywayText: () => (core.tw_text(2), resultText()),
    // Save's plan for fifteen values: { image, edits } or { failure }. The
    // image lies in the module's memory, good until the next call: copy it
    // (into a Blob, say) at once.
    planSave(values, { labText, rivalTeams }) {
      const edits = withBytes(values, (at) => core.tw_plan_save(at, labText ? 1 : 0, rivalTeams ? 1 : 0));
      if (edits < 0) return { failure: resultText() };
      return { image: new Uint8Array(core.memory.buffer, core.tw_result_data(), core.tw_result_size()), edits };
    },
    saveChangesQuestion(fileName) {
      withText(fileName, (at, size) => core.tw_save_changes_question(at, size));
      return resultText();
    },
    savedText: () => (core.tw_saved_text(), resultText()),
    // The planned image was written: it is the opened ROM from now on.
    commitSave: () => core.tw_commit_save(),
    // A patch to the planned image: { patch } or { failure }, which may be a note.
    makePatch(format) {
      return core.tw_make_patch(format === 'ips' ? 1 : 0) ? { patch: resultBytes() } : { failure: resultText() };
    },
    patchWrittenText(fileName) {
      withText(fileName, (at, size) => core.tw_patch_written_text(at, size));
      return resultText();
    },
  };
}

if (typeof module !== 'undefined') module.exports = { loadTidewellCore };
