# Port selection, polling and the clock panel, with the PC clock they all read.
target_sources(zrnapp_qt PRIVATE
    platform/PcClock.cpp
    ports/OpenZrn.cpp)
