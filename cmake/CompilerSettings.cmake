# Warnings apply to our own targets only; call project_warnings(<target>) on each.
function(project_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wno-sign-conversion -Wnon-virtual-dtor -Wold-style-cast
                                             -Woverloaded-virtual)
    if(WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

if(SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(BUILD_FUZZERS)
    # Coverage instrumentation everywhere, so the fuzzers see inside our libraries too.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
