# Makes the single-file page: index.html from PAGE_DIR with every style sheet
# and script it links put inside it, the program's module taken from MODULE
# (built with its WebAssembly inside). Usage:
#   cmake -DPAGE_DIR=<folder> -DMODULE=<script> -DOUTPUT=<html> -P inline.cmake
file(READ ${PAGE_DIR}/index.html page)

function(inline tag file open close)
  string(FIND "${page}" "${tag}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "index.html has no ${tag}")
  endif()
  file(READ ${file} content)
  # Nothing inside an inline element may close it early.
  string(REPLACE "</script" "<\\/script" content "${content}")
  string(REPLACE "</style" "<\\/style" content "${content}")
  string(REPLACE "${tag}" "${open}\n${content}\n${close}" result "${page}")
  set(page "${result}" PARENT_SCOPE)
endfunction()

inline("<link rel=\"stylesheet\" href=\"xterm.css\">" ${PAGE_DIR}/xterm.css "<style>" "</style>")
inline("<link rel=\"stylesheet\" href=\"style.css\">" ${PAGE_DIR}/style.css "<style>" "</style>")
inline("<link rel=\"stylesheet\" href=\"pictures.css\">" ${PAGE_DIR}/pictures.css "<style>" "</style>")
inline("<script src=\"xterm.js\"></script>" ${PAGE_DIR}/xterm.js "<script>" "</script>")
inline("<script src=\"addon-fit.js\"></script>" ${PAGE_DIR}/addon-fit.js "<script>" "</script>")
inline("<script src=\"quorvantile.js\"></script>" ${MODULE} "<script>" "</script>")
foreach(script page_common.js i18n.js host_common.js line_editor.js session_log.js terminal_host.js
               selection_text.js pictures_words.js pictures_svg.js pictures_draw.js pictures.js page.js
               terminal_view.js session_export.js controls.js)
  inline("<script src=\"${script}\"></script>" ${PAGE_DIR}/${script} "<script>" "</script>")
endforeach()
file(WRITE ${OUTPUT} "${page}")
