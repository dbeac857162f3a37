"""Times the web page in headless Chromium against the native core, in one run:
load to ready, Open plus Save of a 2 MiB ROM, and all 251 front pictures.
Timings to run by hand, not a test.

Usage: web_benchmark.py PAGE TIDEWELL_BENCHMARK TIDEWELL_TEST_ROM"""
import base64
import pathlib
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).parent.parent / 'web'))
import chromium  # noqa: E402

page, native_benchmark, make_rom = sys.argv[1:4]
native = subprocess.run([native_benchmark], capture_output=True, text=True, check=True).stdout
native_ms = {name: float(re.search(pattern, native).group(1)) for name, pattern in [
    ('open', r'Open\s+([\d.]+)'), ('save', r'Save\s+([\d.]+)'),
    ('in memory', r'in memory.*?([\d.]+) ms'), ('pictures', r'251 front pictures ([\d.]+)')]}

scratch = pathlib.Path(tempfile.mkdtemp())
rom = scratch / 'crystal.gbc'
subprocess.run([make_rom, 'BYTE', rom], check=True)
browser = chromium.start(scratch)
try:
    ready = []
    for _ in range(7):
        browser.get(pathlib.Path(page).resolve().as_uri())
        ready.append(browser.execute_async_script('''
            const done = arguments[0];
            const wait = () => 'ready' in document.body.dataset ? done(performance.getEntriesByName('tidewell-ready')[0].startTime) : setTimeout(wait, 5);
            wait();'''))
    web_ms = browser.execute_async_script('''
        const [rom, done] = arguments;
        const bytes = Uint8Array.from(atob(rom), (c) => c.charCodeAt(0));
        const kanto = [1, 4, 7, 10, 10, 10, 1, 1, 1, 4, 10, 7, 10, 1, 10];
        const sets = [kanto, core.defaultSelection()];
        const median = async (action) => {
            const times = [];
            for (let i = 0; i < 56; i++) {
                const start = performance.now();
                await action(i);
                if (i >= 5) times.push(performance.now() - start);
            }
            return times.sort((a, b) => a - b)[times.length >> 1];
        };
        const openAndSave = (i) => {
            core.open(bytes);
            core.planSave(sets[i % 2], { labText: true, rivalTeams: true });
            core.commitSave();
        };
        (async () => done({
            // As the page does it: the file read, checked, planned, and the new ROM made a download.
            'page': await median(async (i) => {
                const image = new Uint8Array(await new File([bytes], rom.name).arrayBuffer());
                core.open(image);
                const plan = core.planSave(sets[i % 2], { labText: true, rivalTeams: true });
                URL.revokeObjectURL(URL.createObjectURL(new Blob([plan.image])));
                core.commitSave();
            }),
            'in memory': await median(openAndSave),
            'pictures': await median(() => { for (let s = 1; s <= 251; s++) if (!core.picture(s)) throw s; }),
        }))();
    ''', base64.b64encode(rom.read_bytes()).decode())
finally:
    browser.quit()
    shutil.rmtree(scratch)

print(f'Load to ready: median {statistics.median(ready):.1f} ms of {len(ready)} loads (goal: under 500 ms)')
print(f'Open+Save, page (read, check, plan, download blob): {web_ms["page"]:.3f} ms; '
      f'native Open+Save with file I/O and fsync: {native_ms["open"] + native_ms["save"]:.3f} ms; '
      f'ratio {web_ms["page"] / (native_ms["open"] + native_ms["save"]):.2f}')
print(f'Open+Save in memory: web {web_ms["in memory"]:.3f} ms, native {native_ms["in memory"]:.3f} ms; '
      f'ratio {web_ms["in memory"] / native_ms["in memory"]:.2f} (goal: within 2)')
print(f'251 pictures: web {web_ms["pictures"]:.3f} ms (with palettes, as RGBA), native {native_ms["pictures"]:.3f} ms '
      f'(decoding only); ratio {web_ms["pictures"] / native_ms["pictures"]:.2f} (goal: within 3)')
