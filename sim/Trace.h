#pragma once
// "--trace": the conversation on standard error, one element per line.

#include "FrameReader.h"
#include "Responder.h"

#include <string>
#include <string_view>

namespace zrnsim {

// Printable bytes as they are, others as <XX>.
std::string Visible(std::string_view bytes);
std::string DescribeIncoming(const ReceivedFrame& frame);
std::string DescribeOutgoing(const Element& element);

} // namespace zrnsim
