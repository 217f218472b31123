# Makes the single-file page: index.html from PAGE_DIR with every style sheet
# and script it links put inside it, the program's module taken from MODULE
# (built with its WebAssembly inside). The manifest link goes: a page opened
# from disk installs nothing and keeps nothing offline. Usage:
#   cmake -DPAGE_DIR=<folder> -DMODULE=<script> -DOUTPUT=<html> -P inline.cmake
include(${CMAKE_CURRENT_LIST_DIR}/page_files.cmake)
file(READ ${PAGE_DIR}/index.html page)

function(replace_tag tag replacement)
  string(FIND "${page}" "${tag}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "index.html has no ${tag}")
  endif()
  string(REPLACE "${tag}" "${replacement}" result "${page}")
  set(page "${result}" PARENT_SCOPE)
endfunction()

function(inline tag file open close)
  file(READ ${file} content)
  # Nothing inside an inline element may close it early.
  string(REPLACE "</script" "<\\/script" content "${content}")
  string(REPLACE "</style" "<\\/style" content "${content}")
  replace_tag("${tag}" "${open}\n${content}\n${close}")
  set(page "${page}" PARENT_SCOPE)
endfunction()

quorvantile_page_files(${PAGE_DIR}/index.html linked)
foreach(name ${linked})
  if(name STREQUAL "quorvantile.js")
    set(file ${MODULE})
  else()
    set(file ${PAGE_DIR}/${name})
  endif()
  if(name MATCHES "\\.css$")
    inline("<link rel=\"stylesheet\" href=\"${name}\">" ${file} "<style>" "</style>")
  elseif(name MATCHES "\\.js$")
    inline("<script src=\"${name}\"></script>" ${file} "<script>" "</script>")
  elseif(name MATCHES "\\.webmanifest$")
    replace_tag("<link rel=\"manifest\" href=\"${name}\">\n" "")
  else()
    message(FATAL_ERROR "index.html links ${name}, which the single file cannot carry")
  endif()
endforeach()
file(WRITE ${OUTPUT} "${page}")
