"""The same seven fields out of a ranking page, as a Python user would write it
with BeautifulSoup on lxml: python_scraper.py FILE [--parse-only]

Prints one tab-separated line per entry in code page 936, like
`korvale-cli --format tsv`. With --parse-only it prints instead the processor time the
parse and the extraction took inside the process, in milliseconds, so process
start-up and the imports are left out."""

import sys
import time

from bs4 import BeautifulSoup


def scrape(page):
    soup = BeautifulSoup(page, "lxml")
    rows = []
    for item in soup.select("li.rank-item"):
        title = item.select_one("a.title")
        boxes = [span.get_text() for span in item.select("span.data-box")]
        boxes += [""] * (3 - len(boxes))
        info = item.select_one("div.bangumi-info")
        pts = item.select_one("div.pts > div")
        rows.append(
            [
                title.get_text() if title else "",
                info.get_text() if info else "",
                boxes[0],
                boxes[1],
                boxes[2],
                pts.get_text() if pts else "",
                title.get("href", "") if title else "",
            ]
        )
    return rows


def main():
    with open(sys.argv[1], "rb") as f:
        page = f.read()
    if "--parse-only" in sys.argv[2:]:
        start = time.process_time()
        rows = scrape(page)
        elapsed = time.process_time() - start
        print(f"{elapsed * 1000:.3f} {len(rows)}")
        return
    out = sys.stdout.buffer
    for rank, row in enumerate(scrape(page), 1):
        line = "\t".join([str(rank)] + row) + "\n"
        out.write(line.encode("gbk", errors="replace"))


if __name__ == "__main__":
    main()
