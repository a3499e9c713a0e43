"""The home page in a real browser, as a player uses it: headless Chromium
driven by Selenium registers a code through the form and lands on its entry,
sees a broken code refused in Japanese with the input kept, and sees a name
with markup shown as text. The pages are photographed at 1280 and 390 px wide
into HOMEPAGE_SCREENSHOTS (else a temporary folder that goes with the test).
With "en", the browser asks for English: the pages, their refusals and the
link back to Japanese, photographed as homepage-en-*.png.

Usage: browser.py <suiranjuku-homepage> [ja|en]. Exits 77 (skipped) when
Chromium, its driver or Selenium is missing.
"""

import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import urllib.request

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
# Whatever hangs fails well before ctest's TIMEOUT kills the script, so that
# the clean-up still runs.
PATIENCE = 240

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.common.exceptions import WebDriverException
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support import expected_conditions
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    print("SKIPPED: python3-selenium is not installed (tools/setup.sh installs it)")
    sys.exit(77)
for tool in (CHROMIUM, CHROMEDRIVER):
    if not os.access(tool, os.X_OK):
        print(f"SKIPPED: {tool} is missing (tools/setup.sh installs chromium and chromium-driver)")
        sys.exit(77)


def code_for(days, key=5):
    """A result code as the game makes it: k, u, 9-t, 12-k, h, 9-u, t, 9-h."""
    h, t, u = (int(d) for d in f"{days % 1000:03d}")
    return "".join(str(d) for d in (key, u, 9 - t, 12 - key, h, 9 - u, t, 9 - h))


# A hall of fame with a few players in it, for the pictures.
SAMPLES = [("ソラマ", 38), ("おすず", 45), ("風待ち太郎", 52), ("<b>ソラマ</b>", 61), ("はやて", 61),
           ("Kenji", 77), ("江戸っ子", 90), ("さくら", 120), ("翠嵐塾の門下生", 133)]


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


def start_server(program, folder):
    return subprocess.Popen(
        [program, "--listen", "127.0.0.1:0", "--database", f"sqlite:{folder}/results.sqlite"],
        stdout=subprocess.PIPE, text=True)


def address(server):
    line = server.stdout.readline()
    match = re.fullmatch(r"listening on (http://127\.0\.0\.1:\d+/)\n", line)
    if not match:
        raise Failure(f"the server did not start: {line!r}")
    return match.group(1)


def stop(server):
    server.terminate()
    try:
        server.wait(timeout=30)
    except subprocess.TimeoutExpired:
        server.kill()
        server.wait()


def out_of_time(signum, frame):
    raise Failure(f"not done in {PATIENCE} s")


def register(base, name, code):
    body = json.dumps({"name": name, "code": code}).encode()
    request = urllib.request.Request(base + "api/results", body, {"Content-Type": "application/json"})
    with urllib.request.urlopen(request, timeout=20) as answer:
        check(answer.status == 201, f"{name} was not registered: {answer.status}")


def open_browser(folder, language):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    # The languages the browser asks for: without them, a container's
    # Chromium asks for American English.
    options.add_argument(f"--lang={language}")
    options.add_experimental_option("prefs", {"intl.accept_languages": language})
    # Containers often give /dev/shm too little room, or none a user may
    # write: Chromium then keeps its shared memory under /tmp instead.
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--disable-quic",
                 "--no-first-run", "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--hide-scrollbars", "--window-size=1280,900", f"--user-data-dir={folder}/profile"):
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    # Selenium's own default is as long as ctest's TIMEOUT.
    driver.set_page_load_timeout(30)
    return driver


def emulate(driver, width, height):
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": width < 600})


def photograph(driver, width, path):
    """The whole page at a width, as long as it is."""
    emulate(driver, width, 900)
    height = driver.execute_script("return document.documentElement.scrollHeight")
    emulate(driver, width, height)
    driver.save_screenshot(path)
    driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})


def fits(driver, width):
    """Nothing sticks out sideways: no page to scroll across on a phone."""
    emulate(driver, width, 900)
    scroll = driver.execute_script("return document.documentElement.scrollWidth")
    driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
    check(scroll <= width, f"{driver.current_url} is {scroll} px wide at {width} px")


def submit(driver, base, name, code):
    driver.get(base)
    field = driver.find_element(By.ID, "name")
    field.send_keys(name)
    driver.find_element(By.ID, "code").send_keys(code + Keys.ENTER)
    # The answer is a new page: read that one, not the form still showing.
    WebDriverWait(driver, 10).until(expected_conditions.staleness_of(field))


def no_script(driver):
    check(not driver.find_elements(By.TAG_NAME, "script"), f"a script element on {driver.current_url}")


def run(driver, base, shots):
    # The home page: title, picture, the hall of fame's first ten.
    driver.get(base)
    check("翠嵐塾を作れ！" in driver.title, f"title {driver.title!r}")
    logo = driver.find_element(By.CSS_SELECTOR, ".hero .logo")
    check(driver.execute_script("return arguments[0].naturalWidth", logo) > 0, "the game's picture is not drawn")
    rows = driver.find_elements(By.CSS_SELECTOR, "#leaders tbody tr")
    check(len(rows) == len(SAMPLES), f"{len(rows)} rows in the first ten")
    markup = [row.find_element(By.CSS_SELECTOR, ".name").text for row in rows]
    check("<b>ソラマ</b>" in markup, f"the name with markup is not shown as text: {markup}")
    no_script(driver)
    for width in (1280, 390):
        fits(driver, width)
    photograph(driver, 1280, f"{shots}/homepage-desktop.png")
    photograph(driver, 390, f"{shots}/homepage-phone.png")

    # A broken code: the Japanese message by the code field, the input kept.
    submit(driver, base, "ソラマ", "12345678")
    error = driver.find_element(By.ID, "code-error")
    check("成績コードが正しくありません" in error.text, f"message {error.text!r}")
    field = error.find_element(By.XPATH, "..")
    check(field.find_elements(By.ID, "code"), "the message is not next to the code field")
    check(driver.find_element(By.ID, "name").get_attribute("value") == "ソラマ", "the name was not kept")
    check(driver.find_element(By.ID, "code").get_attribute("value") == "12345678", "the code was not kept")
    check(not driver.find_elements(By.ID, "name-error"), "the name was refused too")
    fits(driver, 390)
    photograph(driver, 390, f"{shots}/homepage-refusal-phone.png")

    # A valid code, typed with a Japanese keyboard's full-width digits: the
    # entry with its place, linking its page of the hall of fame.
    full_width = code_for(40).translate(str.maketrans("0123456789", "０１２３４５６７８９"))
    submit(driver, base, "ソラマ二世", full_width)
    check(re.search(r"/results/\d+$", driver.current_url), f"landed on {driver.current_url}")
    place = driver.find_element(By.CSS_SELECTOR, ".place").text
    check(place == "あなたは 2 位です", f"place {place!r}")
    fits(driver, 390)
    photograph(driver, 390, f"{shots}/homepage-entry-phone.png")
    driver.find_element(By.CSS_SELECTOR, "a.button").click()
    WebDriverWait(driver, 10).until(lambda d: "#entry-" in d.current_url)
    check(re.search(r"/results#entry-\d+$", driver.current_url), f"went to {driver.current_url}")
    highlighted = driver.find_elements(By.CSS_SELECTOR, "tr:target .name")
    check(highlighted and highlighted[0].text == "ソラマ二世", "the entry is not marked on its page")

    # A name with markup, through the form: text on its page, no element made.
    submit(driver, base, "<script>x</script>", code_for(300))
    check(driver.find_element(By.CSS_SELECTOR, ".facts .name").text == "<script>x</script>", "the name was not kept as text")
    no_script(driver)

    driver.get(base + "results")
    no_script(driver)
    for width in (1280, 390):
        fits(driver, width)
    photograph(driver, 390, f"{shots}/homepage-results-phone.png")


def run_in_english(driver, base, shots):
    # The home page in English, with the pay table and a link to Japanese.
    driver.get(base)
    check(driver.find_element(By.TAG_NAME, "html").get_attribute("lang") == "en", "the home page is not in English")
    check(driver.find_element(By.CSS_SELECTOR, "#play h2").text == "How to play", "no English rules")
    rows = driver.find_elements(By.CSS_SELECTOR, "#leaders tbody tr")
    markup = [row.find_element(By.CSS_SELECTOR, ".name").text for row in rows]
    check("<b>ソラマ</b>" in markup and "風待ち太郎" in markup, f"the names are not shown as registered: {markup}")
    no_script(driver)
    for width in (1280, 390):
        fits(driver, width)
    photograph(driver, 1280, f"{shots}/homepage-en-desktop.png")
    photograph(driver, 390, f"{shots}/homepage-en-phone.png")

    # A broken code, refused in English.
    submit(driver, base, "Sorama", "12345678")
    error = driver.find_element(By.ID, "code-error")
    check("That result code is not right" in error.text, f"message {error.text!r}")
    fits(driver, 390)
    photograph(driver, 390, f"{shots}/homepage-en-refusal-phone.png")

    # A valid one: the entry's page, then the same page in Japanese, which
    # stays Japanese from link to link.
    submit(driver, base, "Sorama", code_for(42))
    check(re.search(r"/results/\d+$", driver.current_url), f"landed on {driver.current_url}")
    place = driver.find_element(By.CSS_SELECTOR, ".place").text
    check(place == "You are number 2", f"place {place!r}")
    fits(driver, 390)
    photograph(driver, 390, f"{shots}/homepage-en-entry-phone.png")
    entry = driver.current_url
    driver.find_element(By.CSS_SELECTOR, "a.language").click()
    WebDriverWait(driver, 10).until(lambda d: d.current_url != entry)
    check(driver.current_url == entry + "?lang=ja", f"went to {driver.current_url}")
    check(driver.find_element(By.CSS_SELECTOR, ".place").text == "あなたは 2 位です", "the entry is not in Japanese")
    driver.find_element(By.LINK_TEXT, "番付").click()
    WebDriverWait(driver, 10).until(lambda d: "/results?" in d.current_url)
    check(driver.find_element(By.TAG_NAME, "html").get_attribute("lang") == "ja", "Japanese was not kept")

    driver.get(base + "results")
    no_script(driver)
    for width in (1280, 390):
        fits(driver, width)
    photograph(driver, 390, f"{shots}/homepage-en-results-phone.png")


def main():
    program = sys.argv[1]
    language = sys.argv[2] if len(sys.argv) > 2 else "ja"
    signal.signal(signal.SIGALRM, out_of_time)
    signal.alarm(PATIENCE)
    folder = tempfile.mkdtemp(prefix="homepage-browser-")
    shots = os.environ.get("HOMEPAGE_SCREENSHOTS") or folder
    os.makedirs(shots, exist_ok=True)
    server = driver = None
    try:
        server = start_server(program, folder)
        base = address(server)
        for name, days in SAMPLES:
            register(base, name, code_for(days))
        driver = open_browser(folder, language)
        (run_in_english if language == "en" else run)(driver, base, shots)
        print(f"the form, its refusals and the pages work in Chromium ({language}); pictures in {shots}")
        return 0
    except (Failure, WebDriverException) as failure:
        print(f"FAIL: {failure}")
        return 1
    finally:
        signal.alarm(0)
        try:
            if driver:
                driver.quit()
        finally:
            if server:
                stop(server)
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
