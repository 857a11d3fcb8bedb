# One warnings helper for every target of ours. PEL_WARNINGS_AS_ERRORS turns them into errors (the dev preset).
option(PEL_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)

function(pel_set_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wshadow -Wconversion -Wold-style-cast -Wnon-virtual-dtor -Wpedantic)
    if(PEL_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
