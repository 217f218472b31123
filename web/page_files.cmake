# The served page's files, named once: index.html, every file it links
# (<script src>, <link href>; data: and other sites' addresses are not
# files), the icons its manifest names, the program's WebAssembly beside its
# loader and the service worker. The build makes them and keeps them for
# offline use, and CI checks the built folder and the release against them:
#   quorvantile_page_files(<web source folder> <result variable>)
#   cmake -DPAGE=<web source folder> -P page_files.cmake   prints them, one a line
function(quorvantile_page_files folder result)
  file(READ ${folder}/index.html page)
  string(REGEX MATCHALL "<(script|link)[^>]* (src|href)=\"[^\"]+\"" tags "${page}")
  set(names index.html)
  foreach(tag ${tags})
    string(REGEX REPLACE ".* (src|href)=\"([^\"]+)\"$" "\\2" name "${tag}")
    if(NOT name MATCHES "^[a-z]+:")
      list(APPEND names ${name})
    endif()
  endforeach()
  file(READ ${folder}/offline/manifest.webmanifest manifest)
  string(REGEX MATCHALL "\"src\": *\"[^\"]+\"" icons "${manifest}")
  string(REGEX REPLACE "\"src\": *\"([^\"]+)\"" "\\1" icons "${icons}")
  list(APPEND names ${icons} quorvantile.wasm service-worker.js)
  list(REMOVE_DUPLICATES names)
  set(${result} ${names} PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED PAGE)
  quorvantile_page_files(${PAGE} names)
  foreach(name ${names})
    message(NOTICE "${name}")
  endforeach()
endif()
