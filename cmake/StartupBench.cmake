# The start-up benchmark (bench/startup.cpp) watches the X server for the program's first window.
if(TARGET bench_startup)
    find_package(X11 REQUIRED)
    # The library itself rather than the imported target, which is visible in this folder only.
    target_include_directories(bench_startup PRIVATE ${X11_X11_INCLUDE_PATH})
    target_link_libraries(bench_startup PRIVATE ${X11_X11_LIB})
endif()
