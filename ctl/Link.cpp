#include "Link.h"

namespace zrnctl {

std::optional<std::string> Link::Open(const std::string& port) {
    Close();
    events_.Clear();
    lost_.reset();
    ZrnOpenError error{};
    handle_.reset(fnZrnOpenLink(port.c_str(), &zrn::LinkQueue::Callback, &events_, &error));
    if (handle_)
        return std::nullopt;
    if (error.message[0] == '\0')
        return port + ": " + fnZrnErrorName(error.code);
    return std::string(error.message);
}

Answer Link::Exchange(const std::string& command, bool query) {
    Answer last{AnswerKind::Lost, {}};
    if (!handle_)
        return last;
    for (int attempt = 0; attempt < timing_.attempts && !lost_; ++attempt) {
        // Whatever a lost answer left behind belongs to no command of ours now.
        events_.Clear();
        fnZrnSendLink(handle_.get(), command.c_str());
        if (std::optional<Answer> answer = Await(command, query)) {
            last = *answer;
            if (answer->kind == AnswerKind::Accepted || !query)
                return last;
        }
    }
    return last;
}

std::optional<Answer> Link::Await(const std::string& command, bool query) {
    const Clock::time_point deadline = Clock::now() + timing_.wait;
    bool acknowledged = false;
    while (std::optional<zrn::LinkEvent> event = events_.Next(deadline)) {
        if (event->code == LINK_LOST) {
            // The port stays silent for good: no attempt can be answered.
            lost_ = event->text.value_or("the port went away");
            return Answer{AnswerKind::Lost, {}};
        }
        // The library gives each ACK and NAK the text of the command it wrote last.
        const bool ours = event->text && *event->text == command;
        if (event->code == LINK_NAK && ours)
            return Answer{AnswerKind::Refused, {}};
        if (event->code == LINK_ACK && ours) {
            if (!query)
                return Answer{AnswerKind::Accepted, {}};
            acknowledged = true;
        } else if (event->code == LINK_REPLY && acknowledged && event->text &&
                   AnswersQuery(*event->text, command)) {
            return Answer{AnswerKind::Accepted, *event->text};
        }
    }
    return std::nullopt;
}

} // namespace zrnctl
