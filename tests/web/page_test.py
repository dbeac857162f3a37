"""The page in headless Chromium, opened from disk: a ROM opened through the
file input, values set through the labelled controls, Save's download equal to
tidewell-cli set's file, a refusal, the Unown question, the banner's pictures
equal to tidewell-cli picture's, and no network request.

Save also writes into the opened file where the browser allows it.

Usage: page_test.py PAGE TIDEWELL_CLI TIDEWELL_TEST_ROM"""
import base64
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

import chromium

page, cli, make_rom = sys.argv[1:4]
scratch = pathlib.Path(tempfile.mkdtemp())
downloads = scratch / 'downloads'
downloads.mkdir()
rom, unsupported = scratch / 'crystal.gbc', scratch / 'other.gbc'
subprocess.run([make_rom, 'BYTE', rom], check=True)
subprocess.run([make_rom, 'AAUX', unsupported], check=True)

browser = chromium.start(scratch, str(downloads))
wait = WebDriverWait(browser, 20)


def control(group, label):
    """The control that a label names in a group, found as a screen reader finds it."""
    named = browser.find_element(By.XPATH, f'//fieldset[legend="{group}"]//label[.="{label}"]')
    return browser.find_element(By.ID, named.get_attribute('for'))


def answer(button):
    """The open message's text, after choosing one of its buttons."""
    wait.until(lambda _: browser.find_element(By.ID, 'message').get_attribute('open') is not None)
    text = browser.find_element(By.ID, 'messageText').text
    browser.find_element(By.XPATH, f'//dialog[@id="message"]//button[.="{button}"]').click()
    return text


def open_rom(path):
    browser.find_element(By.ID, 'romFile').send_keys(str(path))


def check(condition, what):
    if not condition:
        sys.exit(f'FAIL: {what}')


def picture_matches(canvas_id, png):
    """Whether a banner picture shows the PNG's pixels, colour 0 as transparency."""
    return browser.execute_async_script('''
        const [id, png, done] = arguments;
        const shown = document.getElementById(id);
        const image = new Image();
        image.onload = () => {
            const drawn = Object.assign(document.createElement('canvas'), { width: image.width, height: image.height });
            drawn.getContext('2d').drawImage(image, 0, 0);
            const want = drawn.getContext('2d').getImageData(0, 0, image.width, image.height).data;
            const got = shown.getContext('2d').getImageData(0, 0, shown.width, shown.height).data;
            let opaque = 0, background = null, same = got.length === want.length;
            for (let i = 0; same && i < got.length; i += 4) {
                const colour = want.slice(i, i + 3).join();
                if (got[i + 3] === 0) { background ??= colour; same = colour === background; continue; }
                opaque++;
                same = got.slice(i, i + 3).join() === colour && got[i + 3] === 255;
            }
            done(same && opaque > 0);
        };
        image.src = 'data:image/png;base64,' + png;
    ''', canvas_id, png)


try:
    browser.get(pathlib.Path(page).resolve().as_uri())
    wait.until(lambda _: browser.execute_script('return "ready" in document.body.dataset'))
    check(not control('PokéBall 2', 'Species').is_enabled(), 'the controls wait for a ROM')

    open_rom(unsupported)
    refusal = answer('OK')
    cli_refusal = subprocess.run([cli, 'show', unsupported], capture_output=True, text=True).stderr
    check(refusal and f': {refusal}' in cli_refusal, f'refusal "{refusal}" is the desktop\'s "{cli_refusal}"')

    open_rom(rom)
    wait.until(lambda _: browser.title == 'BYTE - Tidewell')
    Select(control('PokéBall 2', 'Species')).select_by_visible_text('Bulbasaur')
    control('PokéBall 2', 'Level').clear()
    control('PokéBall 2', 'Level').send_keys('12')
    Select(control('PokéBall 2', 'Held Item')).select_by_visible_text('Master Ball')
    Select(control('PokéBall 1', 'Species')).select_by_visible_text('Unown')
    Select(control("Rival's Starter 3", 'Species')).select_by_visible_text('Mew')
    check(browser.title == 'BYTE - Tidewell*', 'the title marks the edits')

    browser.find_element(By.ID, 'saveRom').click()
    question = answer('Cancel')
    check('Poké Ball 1 holds Unown' in question and question.endswith('Save anyway?'), f'the Unown question: {question}')
    browser.find_element(By.ID, 'saveRom').click()
    answer('Save')
    answer('OK')
    saved = downloads / rom.name
    for _ in range(100):
        if saved.exists():
            break
        time.sleep(0.1)
    expected = scratch / 'expected.gbc'
    subprocess.run([cli, 'set', rom, '--ball1', '201', '--ball2', '1,12,1', '--rival3', '151', '--output', expected,
                    '--quiet'], check=True, capture_output=True)
    check(saved.exists() and saved.read_bytes() == expected.read_bytes(), 'the downloaded ROM is tidewell-cli set\'s')
    check(browser.title == 'BYTE - Tidewell', 'the title drops the mark once saved')

    for canvas, species in [('picture-poke2', '1'), ('picture-rival3', '151')]:
        png = scratch / f'{species}.png'
        subprocess.run([cli, 'picture', rom, species, '--output', png], check=True)
        check(picture_matches(canvas, base64.b64encode(png.read_bytes()).decode()), f'the banner shows {png.name}')

    # Where the browser hands the page the opened file itself, Save writes there (the picker is a stand-in).
    browser.execute_script('''const rom = Uint8Array.from(atob(arguments[0]), (c) => c.charCodeAt(0));
        window.showOpenFilePicker = async () => [{ getFile: async () => new File([rom], 'crystal.gbc'),
            requestPermission: async () => 'granted',
            createWritable: async () => ({ write: async (blob) => { window.written = blob; }, close: async () => {} }) }];''',
        base64.b64encode(rom.read_bytes()).decode())
    browser.find_element(By.ID, 'openRom').click()
    wait.until(lambda _: browser.find_element(By.ID, 'status').text == '')
    Select(control('PokéBall 3', 'Species')).select_by_visible_text('Pikachu')
    control('PokéBall 3', 'Species').send_keys(Keys.CONTROL, 's')
    answer('OK')
    written = browser.execute_async_script('''const reader = new FileReader();
        reader.onload = () => arguments[0](reader.result.split(',')[1]); reader.readAsDataURL(window.written);''')
    subprocess.run([cli, 'set', rom, '--ball3', '25', '--output', expected, '--quiet'], check=True)
    check(base64.b64decode(written) == expected.read_bytes(), 'Save wrote tidewell-cli set\'s ROM into the opened file')

    requests = browser.execute_script('return performance.getEntriesByType("resource").map((r) => r.name)')
    check(requests == [], f'no network request: {requests}')
    errors = [entry for entry in browser.get_log('browser') if entry['level'] == 'SEVERE']
    check(errors == [], f'no error in the console: {errors}')
finally:
    browser.quit()
    shutil.rmtree(scratch)
print('page test passed')
