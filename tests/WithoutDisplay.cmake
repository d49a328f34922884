# Runs PROGRAM with ARG where no window system can be reached, and fails
# unless it exits with status 0 and prints a line matching EXPECT.
set(ENV{QT_QPA_PLATFORM} xcb)
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
execute_process(COMMAND ${PROGRAM} ${ARG} RESULT_VARIABLE status OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${ARG} ended with ${status}:\n${out}${err}")
endif()
if(NOT out MATCHES "${EXPECT}")
    message(FATAL_ERROR "${PROGRAM} ${ARG} printed no \"${EXPECT}\":\n${out}${err}")
endif()
