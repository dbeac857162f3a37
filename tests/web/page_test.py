"""The page in headless Chromium, opened from disk, against tidewell-cli.
Usage: page_test.py PAGE TIDEWELL_CLI TIDEWELL_TEST_ROM"""
import base64
import pathlib
import shutil
import subprocess
import sys
import tempfile

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

import chromium

page, cli, make_rom = sys.argv[1:4]
scratch = pathlib.Path(tempfile.mkdtemp())
rom, unsupported, expected = scratch / 'crystal.gbc', scratch / 'other.gbc', scratch / 'expected.gbc'
subprocess.run([make_rom, 'BYTE', rom], check=True)
subprocess.run([make_rom, 'AAUX', unsupported], check=True)
browser = chromium.start(scratch, str(scratch / 'downloads'))
wait = WebDriverWait(browser, 20)
find = browser.find_element


def control(group, label):
    """The control that a label names in a group, found as a screen reader finds it."""
    return find(By.ID, find(By.XPATH, f'//fieldset[legend="{group}"]//label[.="{label}"]').get_attribute('for'))


def answer(button):
    """The open message's text, after choosing one of its buttons."""
    wait.until(lambda _: find(By.ID, 'message').get_attribute('open') is not None)
    text = find(By.ID, 'messageText').text
    find(By.XPATH, f'//dialog[@id="message"]//button[.="{button}"]').click()
    return text


def check(condition, what):
    if not condition:
        sys.exit(f'FAIL: {what}')


def cli_set(*options):
    expected.unlink(missing_ok=True)
    subprocess.run([cli, 'set', rom, *options, '--output', expected, '--quiet'], check=True, capture_output=True)
    return expected.read_bytes()


try:
    browser.get(pathlib.Path(page).resolve().as_uri())
    wait.until(lambda _: browser.execute_script('return "ready" in document.body.dataset'))
    check(not control('PokéBall 2', 'Species').is_enabled(), 'the controls wait for a ROM')
    find(By.ID, 'romFile').send_keys(str(unsupported))
    refusal = answer('OK')
    cli_refusal = subprocess.run([cli, 'show', unsupported], capture_output=True, text=True).stderr
    check(refusal and f': {refusal}' in cli_refusal, f'refusal "{refusal}" is the desktop\'s "{cli_refusal}"')

    find(By.ID, 'romFile').send_keys(str(rom))
    wait.until(lambda _: browser.title == 'BYTE - Tidewell')
    Select(control('PokéBall 2', 'Species')).select_by_visible_text('Bulbasaur')
    control('PokéBall 2', 'Level').clear()
    control('PokéBall 2', 'Level').send_keys('12')
    Select(control('PokéBall 2', 'Held Item')).select_by_visible_text('Master Ball')
    Select(control('PokéBall 1', 'Species')).select_by_visible_text('Unown')
    Select(control("Rival's Starter 3", 'Species')).select_by_visible_text('Mew')
    check(browser.title == 'BYTE - Tidewell*', 'the title marks the edits')
    find(By.ID, 'saveRom').click()
    question = answer('Cancel')
    check('Poké Ball 1 holds Unown' in question and question.endswith('Save anyway?'), f'the Unown question: {question}')
    find(By.ID, 'saveRom').click()
    answer('Save')
    answer('OK')
    saved = scratch / 'downloads' / rom.name
    wait.until(lambda _: saved.exists())
    check(saved.read_bytes() == cli_set('--ball1', '201', '--ball2', '1,12,1', '--rival3', '151'),
          'the downloaded ROM is tidewell-cli set\'s')
    check(browser.title == 'BYTE - Tidewell', 'the title drops the mark once saved')

    for canvas, species in [('picture-poke2', '1'), ('picture-rival3', '151')]:
        subprocess.run([cli, 'picture', rom, species, '--output', scratch / 'picture.png'], check=True)
        shown, png = browser.execute_async_script('''const [id, png, done] = arguments;
            const image = Object.assign(new Image(), { src: 'data:image/png;base64,' + png });
            image.decode().then(() => {
                const drawn = Object.assign(document.createElement('canvas'), { width: image.width, height: image.height });
                drawn.getContext('2d').drawImage(image, 0, 0);
                const pixels = (canvas) => Array.from(canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data);
                done([pixels(document.getElementById(id)), pixels(drawn)]);
            });''', canvas, base64.b64encode((scratch / 'picture.png').read_bytes()).decode())
        # Colour 0 is shown transparent; every other pixel is the PNG's own.
        pixels = [(tuple(shown[i:i + 4]), tuple(png[i:i + 3])) for i in range(0, len(png), 4)]
        check(len(shown) == len(png) and len({p for s, p in pixels if s[3] == 0}) == 1
              and all(s == p + (255,) for s, p in pixels if s[3] != 0), f'the banner shows picture {species}')

    # Where the browser hands the page the opened file itself, Save writes there (the picker is a stand-in).
    browser.execute_script('''const rom = Uint8Array.from(atob(arguments[0]), (c) => c.charCodeAt(0));
        window.showOpenFilePicker = async () => [{ getFile: async () => new File([rom], 'crystal.gbc'),
            requestPermission: async () => 'granted',
            createWritable: async () => ({ write: async (blob) => { window.written = blob; }, close: async () => {} }) }];''',
        base64.b64encode(rom.read_bytes()).decode())
    find(By.ID, 'openRom').click()
    wait.until(lambda _: find(By.ID, 'status').text == '')
    Select(control('PokéBall 3', 'Species')).select_by_visible_text('Pikachu')
    control('PokéBall 3', 'Species').send_keys(Keys.CONTROL, 's')
    answer('OK')
    written = browser.execute_async_script('''const reader = new FileReader();
        reader.onload = () => arguments[0](reader.result.split(',')[1]); reader.readAsDataURL(window.written);''')
    check(base64.b64decode(written) == cli_set('--ball3', '25'), 'Save wrote tidewell-cli set\'s ROM into the file')

    requests = browser.execute_script('return performance.getEntriesByType("resource").map((r) => r.name)')
    check(requests == [], f'no network request: {requests}')
    errors = [entry for entry in browser.get_log('browser') if entry['level'] == 'SEVERE']
    check(errors == [], f'no error in the console: {errors}')
finally:
    browser.quit()
    shutil.rmtree(scratch)
print('page test passed')
