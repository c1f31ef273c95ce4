# The hardening Debian builds its own packages with: checked string and memory functions,
# a stack protector, stack clash and control flow protection, and a relocation table that
# is bound at start and then read-only. A distribution that passes its own flags turns
# this off with -DBRINDLE_HARDENING=OFF.
option(BRINDLE_HARDENING "Build optimized programs with hardening options" ON)
if(BRINDLE_HARDENING)
    # Only optimized builds: the checked functions need optimization, and the sanitizer
    # and debug builds are better off without them.
    set(optimized $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
    add_compile_options(
        $<${optimized}:-D_FORTIFY_SOURCE=2>
        $<${optimized}:-fstack-protector-strong>
        $<${optimized}:-fstack-clash-protection>
        $<${optimized}:-fcf-protection>)
    add_link_options($<${optimized}:-Wl,-z,relro,-z,now>)
endif()
