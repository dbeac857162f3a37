// The page's core, loaded as the page loads it, makes the same bytes as tidewell-cli.
// Run by CTest with TIDEWELL_WASM, TIDEWELL_CLI and TIDEWELL_TEST_ROM set.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const { TIDEWELL_WASM, TIDEWELL_CLI, TIDEWELL_TEST_ROM } = process.env;
const { loadTidewellCore } = createRequire(import.meta.url)('../../web/core.js');
const core = await loadTidewellCore(readFileSync(TIDEWELL_WASM));
const scratch = mkdtempSync(join(tmpdir(), 'tidewell-web-'));
process.on('exit', () => rmSync(scratch, { recursive: true, force: true }));

// Where each of set's options puts its parts among the core's fifteen values.
const rows = { ball1: [0, 3, 6], ball2: [1, 4, 7], ball3: [2, 5, 8], rival1: [9, 10], rival2: [11, 12], rival3: [13, 14] };
const cases = [
  { rows: { ball1: [1, 10, 1], ball2: [4, 10, 1], ball3: [7, 10, 1], rival1: [4, 10], rival2: [7, 10], rival3: [1, 10] } },
  { defaults: true, rows: { ball2: [201, 100, 0], rival3: [201, 7] }, labText: false },
  { rows: { ball1: [251, 0, 255], ball3: [25, 4.6, 173], rival2: [151, 99] }, rivalTeams: false },
];

function romOf(code) {
  const path = join(scratch, `${code}.gbc`);
  execFileSync(TIDEWELL_TEST_ROM, [code, path]);
  return path;
}

function cliWrites(rom, example, option) {
  const output = join(scratch, 'cli-output');
  const args = ['set', rom, option, output, '--quiet', ...(example.defaults ? ['--defaults'] : [])];
  for (const [row, parts] of Object.entries(example.rows)) args.push(`--${row}`, parts.join(','));
  if (example.labText === false) args.push('--no-lab-text');
  if (example.rivalTeams === false) args.push('--no-rival-teams');
  rmSync(output, { force: true });
  execFileSync(TIDEWELL_CLI, args);
  return readFileSync(output);
}

for (const code of ['AAUE', 'BYTE']) {
  test(`${code}: the module's new images and patches are tidewell-cli's`, () => {
    const rom = romOf(code);
    for (const example of cases) {
      const opened = core.open(readFileSync(rom));
      const values = example.defaults ? core.defaultSelection() : opened.values;
      for (const [row, parts] of Object.entries(example.rows))
        parts.forEach((part, i) => { values[rows[row][i]] = i === 1 ? core.levelByte(String(part)) : part; });
      const plan = core.planSave(values, { labText: example.labText ?? true, rivalTeams: example.rivalTeams ?? true });
      assert.ok(plan.edits > 0);
      assert.deepEqual(Buffer.from(plan.image), cliWrites(rom, example, '--output'));
      for (const format of ['bps', 'ips'])
        assert.deepEqual(Buffer.from(core.makePatch(format).patch), cliWrites(rom, example, `--${format}`));
    }
  });
}
