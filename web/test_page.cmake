# The test page: the page with the tests' module loaded after its own.
file(READ ${IN} page)
string(REPLACE "<script type=\"module\" src=\"main.js\"></script>"
  "<script type=\"module\" src=\"main.js\"></script>\n<script type=\"module\" src=\"test-hooks.js\"></script>" page "${page}")
file(WRITE ${OUT} "${page}")
