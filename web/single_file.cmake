# Makes the single-file page: index.html from PAGE_DIR with the bundle's
# style sheet and script put inside it, and the program's loader taken from
# MODULE (built with its WebAssembly inside). The manifest link goes: a page
# opened from disk installs nothing and keeps nothing offline. Usage:
#   cmake -DPAGE_DIR=<folder> -DMODULE=<script> -DOUTPUT=<html> -P single_file.cmake
file(READ ${PAGE_DIR}/index.html page)

# Replaces `tag` in the page by the file's content between `open` and
# `close`, its source map's address left out (there is no file beside it).
function(inline tag file open close)
  string(FIND "${page}" "${tag}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "index.html has no ${tag}")
  endif()
  file(READ ${file} content)
  string(REGEX REPLACE "\n(//# sourceMappingURL=[^\n]*|/\\*# sourceMappingURL=[^\n]*\\*/)\n*$" "\n" content "${content}")
  # Nothing inside an inline element may close it early.
  string(REPLACE "</script" "<\\/script" content "${content}")
  string(REPLACE "</style" "<\\/style" content "${content}")
  string(REPLACE "${tag}" "${open}\n${content}\n${close}" result "${page}")
  set(page "${result}" PARENT_SCOPE)
endfunction()

inline("<link rel=\"stylesheet\" href=\"quorvantile-page.css\">" ${PAGE_DIR}/quorvantile-page.css "<style>" "</style>")
inline("<script src=\"quorvantile.js\"></script>" ${MODULE} "<script>" "</script>")
inline("<script src=\"quorvantile-page.js\"></script>" ${PAGE_DIR}/quorvantile-page.js "<script>" "</script>")
string(REPLACE "<link rel=\"manifest\" href=\"manifest.webmanifest\">\n" "" page "${page}")
file(WRITE ${OUTPUT} "${page}")
