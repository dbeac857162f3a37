'use strict';

// The groups of the main window; each control bears the name of the value it shows.
const starterGroups = [
  { legend: 'PokéBall 1', species: 'poke1', level: 'lvl1', item: 'item1' },
  { legend: 'PokéBall 2', species: 'poke2', level: 'lvl2', item: 'item2' },
  { legend: 'PokéBall 3', species: 'poke3', level: 'lvl3', item: 'item3' },
  { legend: "Rival's Starter 1", species: 'rival1', level: 'rlvl1' },
  { legend: "Rival's Starter 2", species: 'rival2', level: 'rlvl2' },
  { legend: "Rival's Starter 3", species: 'rival3', level: 'rlvl3' },
];
// The core's order of the fifteen values.
const valueNames = ['poke1', 'poke2', 'poke3', 'lvl1', 'lvl2', 'lvl3', 'item1', 'item2', 'item3',
  'rival1', 'rlvl1', 'rival2', 'rlvl2', 'rival3', 'rlvl3'];
const isLevel = (name) => name.includes('lvl');
const bannerOrder = ['poke1', 'poke2', 'poke3', 'rival1', 'rival2', 'rival3'];

const $ = (id) => document.getElementById(id);
let core = null;
// The opened ROM: its file name, the handle to write it back through where the
// browser gives one, and its game.
let rom = null;

function element(tag, properties = {}, children = []) {
  const made = Object.assign(document.createElement(tag), properties);
  made.append(...children);
  return made;
}

// Empty until a ROM is open.
function fillList(name, names) {
  const list = element('select', { id: name, name }, names.map((text, byte) => element('option', { value: byte, text })));
  list.selectedIndex = -1;
  return list;
}

function buildGroups() {
  const species = core.speciesNames();
  const items = core.itemNames();
  for (const group of starterGroups) {
    const field = (label, id, control) => element('div', { className: 'field' },
      [element('label', { htmlFor: id, textContent: label }), control]);
    const fields = [
      field('Species', group.species, fillList(group.species, species)),
      field('Level', group.level, element('input', {
        id: group.level, name: group.level, type: 'text', inputMode: 'decimal', maxLength: 3, autocomplete: 'off',
      })),
    ];
    if (group.item) fields.push(field('Held Item', group.item, fillList(group.item, items)));
    const set = element('fieldset', { disabled: true, className: 'starter' },
      [element('legend', { textContent: group.legend }), ...fields]);
    set.dataset.needsRom = '';
    $('starters').append(set);
  }
  for (const [side, names] of [['playerPictures', bannerOrder.slice(0, 3)], ['rivalPictures', bannerOrder.slice(3)]])
    for (const name of names)
      $(side).append(element('div', { className: 'box' }, [element('canvas', { id: `picture-${name}` })]));
}

// Messages and questions in the page: resolves with the value of the button
// chosen, '' for Escape. The first button is the default unless another says so.
function ask(text, answers = [['ok', 'OK']]) {
  const box = $('message');
  $('messageText').textContent = text;
  $('messageAnswers').replaceChildren(...answers.map(([value, label, isDefault]) =>
    element('button', { value, textContent: label, autofocus: isDefault === true })));
  box.returnValue = '';
  box.showModal();
  return new Promise((resolve) => box.addEventListener('close', () => resolve(box.returnValue), { once: true }));
}

const tell = (text) => ask(text);
const status = (text) => { $('status').textContent = text; };

function shownValues() {
  return valueNames.map((name) => {
    const control = $(name);
    if (isLevel(name)) return core.levelByte(control.value);
    return control.selectedIndex < 0 ? null : control.selectedIndex;
  });
}

function show(values) {
  valueNames.forEach((name, i) => {
    const control = $(name);
    if (isLevel(name)) control.value = String(values[i]);
    else control.selectedIndex = values[i] < control.options.length ? values[i] : -1;
  });
  changed();
}

function changed() {
  const edited = rom !== null && core.isEdited(shownValues());
  document.title = rom === null ? 'Tidewell' : `${rom.game.caption}${edited ? '*' : ''}`;
  paintBanner();
  return edited;
}

function paintBanner() {
  const shown = shownValues();
  for (const name of bannerOrder) {
    const canvas = $(`picture-${name}`);
    const picture = rom && core.picture(shown[valueNames.indexOf(name)] ?? 0);
    canvas.parentElement.classList.toggle('empty', rom !== null && !picture);
    canvas.hidden = !picture;
    if (!picture) continue;
    const { width } = picture;
    canvas.width = canvas.height = width;
    // The game's 7 × 7 box holds a smaller picture at its bottom, 8 pixels from the left.
    canvas.style.left = `${(Math.min(8, 56 - width) / 56) * 100}%`;
    canvas.style.top = `${((56 - width) / 56) * 100}%`;
    canvas.style.width = canvas.style.height = `${(width / 56) * 100}%`;
    canvas.getContext('2d').putImageData(picture, 0, 0);
  }
}

async function canDiscardEdits() {
  if (!changed()) return true;
  const answer = await ask(core.saveChangesQuestion(rom.name), [['save', 'Save'], ['discard', 'Discard'], ['cancel', 'Cancel']]);
  return answer === 'discard' || (answer === 'save' && await save());
}

async function openFile(file, handle = null) {
  if (!await canDiscardEdits()) return;
  const refusal = core.refusalBySize(file.size);
  if (refusal !== null) return tell(refusal);
  const opened = core.open(new Uint8Array(await file.arrayBuffer()));
  if (opened.refusal !== undefined) return tell(opened.refusal);
  rom = { name: file.name, handle, game: opened.game };
  $('gameName').textContent = opened.game.name;
  $('gameCode').textContent = opened.game.code;
  $('language').textContent = opened.game.language;
  for (const control of document.querySelectorAll('[data-needs-rom]')) control.disabled = false;
  status('');
  show(opened.values);
  $('poke1').focus();
}

async function chooseRom() {
  if (!window.showOpenFilePicker) return $('romFile').click();
  let handle;
  try {
    [handle] = await window.showOpenFilePicker({
      types: [{ description: 'GB ROMs', accept: { 'application/octet-stream': ['.gb', '.gbc'] } }],
    });
  } catch {
    return; // The user closed the picker.
  }
  await openFile(await handle.getFile(), handle);
}

// The values to write, the user having gone past every warning; null otherwise.
async function valuesToSave() {
  const shown = shownValues();
  const missing = (test) => valueNames.some((name, i) => test(name) && shown[i] === null);
  if (missing(isLevel)) return tell(core.missingLevelText()).then(() => null);
  if (missing((name) => !isLevel(name))) return tell(core.missingChoiceText()).then(() => null);
  for (const warning of core.saveWarnings(shown)) {
    if (await ask(`${warning} ${core.saveAnywayText()}`, [['save', 'Save'], ['cancel', 'Cancel', true]]) !== 'save')
      return null;
  }
  return shown;
}

function options() {
  return { labText: $('updateLabDialogue').checked, rivalTeams: $('updateRivalTeams').checked };
}

function download(name, blob) {
  const link = element('a', { href: URL.createObjectURL(blob), download: name });
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

async function canWriteBack(handle) {
  try {
    return handle !== null && await handle.requestPermission({ mode: 'readwrite' }) === 'granted';
  } catch {
    return false;
  }
}

// The new image goes into the opened file where the browser lets the page write
// there, and is downloaded under its name everywhere else.
async function writeRom(image) {
  if (await canWriteBack(rom.handle)) {
    const writable = await rom.handle.createWritable();
    await writable.write(image);
    await writable.close();
    status(`Saved to ${rom.name}.`);
  } else {
    download(rom.name, image);
    status(`The page cannot write to the opened file here, so the new ROM was downloaded as ${rom.name}.`);
  }
}

// The level boxes show the levels as written ("4.6" became 5).
function showSaved(values, text) {
  core.commitSave();
  show(values);
  return tell(text);
}

async function save() {
  const values = await valuesToSave();
  if (values === null) return false;
  const plan = core.planSave(values, options());
  if (plan.failure !== undefined) return tell(plan.failure).then(() => false);
  if (plan.edits > 0) await writeRom(new Blob([plan.image]));
  await showSaved(values, core.savedText());
  return true;
}

async function saveRomAs() {
  const values = await valuesToSave();
  if (values === null) return;
  const plan = core.planSave(values, options());
  if (plan.failure !== undefined) return tell(plan.failure);
  download(rom.name, new Blob([plan.image]));
  await showSaved(values, core.savedText());
}

// The ROM's name up to its last dot.
const baseName = (name) => (name.includes('.') ? name.slice(0, name.lastIndexOf('.')) : name);

async function exportPatch() {
  const values = await valuesToSave();
  if (values === null) return;
  const format = await ask('Export the changes as a patch in which format?',
    [['bps', 'BPS patch'], ['ips', 'IPS patch'], ['cancel', 'Cancel']]);
  if (format !== 'bps' && format !== 'ips') return;
  const plan = core.planSave(values, options());
  if (plan.failure !== undefined) return tell(plan.failure);
  const patch = core.makePatch(format);
  if (patch.failure !== undefined) return tell(patch.failure);
  const name = `${baseName(rom.name)}.${format}`;
  download(name, new Blob([patch.patch]));
  await tell(core.patchWrittenText(name));
}

// One command at a time: a second waits for the box the first one shows.
let busy = false;
function command(action) {
  return async (event) => {
    event?.preventDefault();
    if (busy) return;
    busy = true;
    try {
      await action();
    } catch (error) {
      // The browser refused a file or a write: say why, and the page stays as it was.
      await tell(error.message);
    } finally {
      busy = false;
    }
  };
}

// A choice kept from one visit to the next, under the name of its box.
function remember(id) {
  const box = $(id);
  try {
    box.checked = localStorage.getItem(id) !== 'false';
    box.addEventListener('change', () => localStorage.setItem(id, String(box.checked)));
  } catch {
    // Storage is off in this browser: the choice lasts as long as the page.
  }
}

function listen() {
  $('openRom').addEventListener('click', command(chooseRom));
  $('romFile').addEventListener('change', command(async () => {
    const [file] = $('romFile').files;
    $('romFile').value = '';
    if (file) await openFile(file);
  }));
  $('saveRom').addEventListener('click', command(save));
  $('saveRomAs').addEventListener('click', command(saveRomAs));
  $('exportPatch').addEventListener('click', command(exportPatch));
  $('defaultSelection').addEventListener('click', () => show(core.defaultSelection()));
  $('about').addEventListener('click', () => $('aboutBox').showModal());
  $('starters').addEventListener('input', changed);
  remember('updateLabDialogue');
  remember('updateRivalTeams');

  document.addEventListener('keydown', (event) => {
    if (!(event.ctrlKey || event.metaKey) || event.altKey) return;
    const key = event.key.toLowerCase();
    if (key === 'o' && !event.shiftKey) command(chooseRom)(event);
    else if (key === 's') {
      event.preventDefault();
      if (rom !== null) command(event.shiftKey ? saveRomAs : save)();
    }
  });
  document.addEventListener('dragover', (event) => event.preventDefault());
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    // The drop's items can be read only while the event is handled.
    const item = [...event.dataTransfer.items].find((entry) => entry.kind === 'file');
    if (!item) return;
    const file = item.getAsFile();
    const handle = item.getAsFileSystemHandle?.().then((found) => (found?.kind === 'file' ? found : null), () => null);
    command(async () => openFile(file, (await handle) ?? null))();
  });
  window.addEventListener('beforeunload', (event) => {
    if (rom !== null && core.isEdited(shownValues())) {
      event.preventDefault();
      event.returnValue = '';
    }
  });
}

async function start() {
  const bytes = Uint8Array.from(atob(tidewellModule), (c) => c.charCodeAt(0));
  core = await loadTidewellCore(bytes);
  buildGroups();
  listen();
  $('openRom').disabled = false;
  performance.mark('tidewell-ready');
  document.body.dataset.ready = '';
}

start().catch((error) => {
  status(`Tidewell cannot start in this browser: ${error.message}`);
});
