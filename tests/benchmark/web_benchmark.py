"""Times the web page in headless Chromium against the native core, in one run:
load to ready, Open plus Save of a 2 MiB ROM, and all 251 front pictures.
Timings to run by hand, not a test.

Usage: web_benchmark.py PAGE TIDEWELL_BENCHMARK TIDEWELL_TEST_ROM"""
import base64
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).parent.parent / 'web'))
import chromium  # noqa: E402

page, native_benchmark, make_rom = sys.argv[1:4]
native = subprocess.run([native_benchmark], capture_output=True, text=True, check=True).stdout
native = {name: float(re.search(pattern, native).group(1)) for name, pattern in [
    ('open', r'Open +([\d.]+)'), ('save', r'Save +([\d.]+)'), ('memory', r'in memory.*?([\d.]+) ms'),
    ('pictures', r'251 front pictures ([\d.]+)')]}
scratch = pathlib.Path(tempfile.mkdtemp())
rom = scratch / 'crystal.gbc'
subprocess.run([make_rom, 'BYTE', rom], check=True)
browser = chromium.start(scratch)
try:
    ready = []
    for _ in range(7):
        browser.get(pathlib.Path(page).resolve().as_uri())
        ready.append(browser.execute_async_script('''const done = arguments[0];
            const wait = () => ('ready' in document.body.dataset ? done(performance.getEntriesByName('tidewell-ready')[0].startTime) : setTimeout(wait, 5));
            wait();'''))
    web = browser.execute_async_script('''const [rom, done] = arguments;
        const bytes = Uint8Array.from(atob(rom), (c) => c.charCodeAt(0));
        const sets = [[1, 4, 7, 10, 10, 10, 1, 1, 1, 4, 10, 7, 10, 1, 10], core.defaultSelection()];
        const median = async (action) => {
            const times = [];
            for (let i = 0; i < 56; i++) {
                const start = performance.now();
                await action(i);
                times.push(performance.now() - start);
            }
            return times.slice(5).sort((a, b) => a - b)[25];
        };
        const openAndSave = (image, i) => {
            core.open(image);
            const plan = core.planSave(sets[i % 2], { labText: true, rivalTeams: true });
            core.commitSave();
            return plan.image;
        };
        (async () => done({
            memory: await median((i) => openAndSave(bytes, i)),
            // As the page does it: the file read, and the new ROM made a download.
            page: await median(async (i) => URL.revokeObjectURL(URL.createObjectURL(
                new Blob([openAndSave(new Uint8Array(await new File([bytes], 'c.gbc').arrayBuffer()), i)])))),
            pictures: await median(() => { for (let s = 1; s <= 251; s++) core.picture(s); }),
        }))();''', base64.b64encode(rom.read_bytes()).decode())
finally:
    browser.quit()
    shutil.rmtree(scratch)

ready.sort()
print(f'Load to ready: median {ready[len(ready) // 2]:.1f} ms of {len(ready)} loads (goal: under 500 ms)')
for what, web_ms, native_ms, goal in [
        ('Open+Save in memory', web['memory'], native['memory'], ' (goal: within 2)'),
        ('Open+Save with the file (web: read, download; native: read, write, fsync)', web['page'],
         native['open'] + native['save'], ''),
        ('251 pictures (web: with colours, as RGBA; native: decoding only)', web['pictures'], native['pictures'],
         ' (goal: within 3)')]:
    print(f'{what}: web {web_ms:.2f} ms, native {native_ms:.2f} ms, ratio {web_ms / native_ms:.2f}{goal}')
