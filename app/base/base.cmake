# Under everything else of the program, the model and the platform layer
# alike: small helpers that include nothing of app/.
add_library(zrnapp_base STATIC base/Text.cpp)
target_include_directories(zrnapp_base PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
