# Writes a page folder's sw.js from sw.js.in: the page's files with their
# SHA-256 hashes, and a version made of them all, so that any change of any
# file makes a new version of the page.
#   cmake -DFOLDER=... -DFILES=a,b,... -DIN=sw.js.in -DOUT=sw.js -P service_worker.cmake
string(REPLACE "," ";" files "${FILES}")
set(entries)
set(all "")
foreach(file IN LISTS files)
  file(SHA256 ${FOLDER}/${file} hash)
  list(APPEND entries "  ['${file}', '${hash}'],\n")
  string(APPEND all "${file} ${hash}\n")
endforeach()
string(SHA256 version "${all}")
string(SUBSTRING ${version} 0 16 PAGE_VERSION)
list(JOIN entries "" PAGE_FILES)
set(PAGE_FILES "[\n${PAGE_FILES}]")
configure_file(${IN} ${OUT} @ONLY)
