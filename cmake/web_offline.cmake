# The service worker of one site (SITE): every file of it (the worker itself left out) to
# cache with its SHA-256, under a name made from their contents, so that each build that
# changes a file has a worker of its own. cmake -DSITE=... -DTEMPLATE=... -P web_offline.cmake
file(GLOB files RELATIVE "${SITE}" "${SITE}/*")
list(REMOVE_ITEM files service_worker.js)
list(SORT files)
set(sums "")
file(SHA256 "${SITE}/index.html" index)
set(names "    './': '${index}',\n")
foreach(name ${files})
    file(SHA256 "${SITE}/${name}" sum)
    string(APPEND sums "${name} ${sum}\n")
    string(APPEND names "    '${name}': '${sum}',\n")
endforeach()
string(SHA256 build "${sums}")
string(SUBSTRING "${build}" 0 16 BUILD)
set(FILES "${names}")
configure_file("${TEMPLATE}" "${SITE}/service_worker.js" @ONLY)
