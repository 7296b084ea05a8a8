# The demo site from the page: every file of it, the fake device, and the page and its
# worker changed only to load the fake before their own scripts.
file(GLOB files "${SITE}/*")
file(COPY ${files} ${FAKE} DESTINATION "${DEMO}")
file(READ "${SITE}/index.html" page)
string(REPLACE "<script src=\"page.js\" defer></script>"
    "<script src=\"fake_hid.js\"></script>\n<script src=\"page.js\" defer></script>" page "${page}")
file(WRITE "${DEMO}/index.html" "${page}")
file(READ "${SITE}/worker.js" worker)
file(WRITE "${DEMO}/worker.js" "importScripts('fake_hid.js');\n${worker}")
