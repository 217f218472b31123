# The files a page links, in its order: every <script src="..."> and every
# <link ... href="..."> that names a file beside it (data: and other sites'
# addresses are not files). index.html is the one list of the page's files;
# the build, the single-file inliner and CI read it through this.
#   quorvantile_page_files(<html file> <result variable>)
function(quorvantile_page_files html result)
  file(READ ${html} page)
  string(REGEX MATCHALL "<(script|link)[^>]* (src|href)=\"[^\"]+\"" tags "${page}")
  set(names)
  foreach(tag ${tags})
    string(REGEX REPLACE ".* (src|href)=\"([^\"]+)\"$" "\\2" name "${tag}")
    if(NOT name MATCHES "^[a-z]+:")
      list(APPEND names ${name})
    endif()
  endforeach()
  set(${result} ${names} PARENT_SCOPE)
endfunction()
