# Writes the page's service worker from its template: the files it keeps
# (FILES, comma-separated, relative to PAGE_DIR) and the cache they are kept
# in, named by VERSION and a digest of the files, so that any change to any
# of them is a new cache. Usage:
#   cmake -DPAGE_DIR=<folder> -DFILES=<a,b,...> -DVERSION=<x.y.z>
#         -DTEMPLATE=<service-worker.js> -DOUTPUT=<file> -P service_worker.cmake
string(REPLACE "," ";" files "${FILES}")
set(digests "")
foreach(name ${files})
  file(SHA256 ${PAGE_DIR}/${name} digest)
  string(APPEND digests "${digest} ${name}\n")
endforeach()
string(SHA256 whole "${digests}")
string(SUBSTRING "${whole}" 0 12 whole)
set(QUORVANTILE_FILES "./,${FILES}")
set(QUORVANTILE_CACHE "quorvantile-${VERSION}-${whole}")
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
