"""Debian's headless Chromium under Selenium, with no traffic of its own."""
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

FLAGS = ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync']


def start(scratch, downloads=None, width=1000, height=900):
    """Chromium with its profile in the scratch folder, saving downloads into `downloads`."""
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for flag in FLAGS + [f'--user-data-dir={scratch}/profile', f'--window-size={width},{height}']:
        options.add_argument(flag)
    if downloads:
        options.add_experimental_option('prefs', {'download.default_directory': downloads,
                                                  'download.prompt_for_download': False})
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
