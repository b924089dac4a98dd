# Precompiled standard headers. Parsing the standard library took a small
# translation unit of ours most of its compile time (about 1.6 of 2.5 s), and
# the tests' GoogleTest another 2 s, every file again. A target's sources
# now load them from one precompiled header instead.
#
# A source must still include what it uses: the optimised build, which
# precompiles only for the tests, tells.
set(ORBE_STD_PCH_HEADERS <algorithm> <array> <atomic> <chrono> <cstddef> <cstdint> <cstdio> <cstdlib>
    <cstring> <functional> <map> <memory> <mutex> <optional> <set> <string> <string_view>
    <unordered_map> <utility> <vector>)

# The libraries' and programs' own: each target precompiles its copy, since
# shared libraries and programs are compiled with different code models.
function(orbe_precompile_std_headers)
  foreach(target IN LISTS ARGN)
    if(TARGET ${target})
      target_precompile_headers(${target} PRIVATE ${ORBE_STD_PCH_HEADERS})
    endif()
  endforeach()
endfunction()
