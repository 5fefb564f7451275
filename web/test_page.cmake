# The test page: the page with the tests' module run after its own, written
# into the page so that the test page asks the server for what the page asks.
file(READ ${IN} page)
file(READ ${HOOKS} hooks)
string(REPLACE "<script type=\"module\" src=\"main.js\"></script>"
  "<script type=\"module\" src=\"main.js\"></script>\n<script type=\"module\">\n${hooks}</script>" page "${page}")
file(WRITE ${OUT} "${page}")
