#include "Link.h"

#include "Model.h"

namespace zrnctl {

bool AnswersQuery(std::string_view reply, std::string_view query) {
    if (query.empty())
        return false;
    if (query.back() == '?')
        return reply.size() == query.size() && reply.starts_with(query.substr(0, query.size() - 1));
    if (!reply.starts_with(query) || reply.size() == query.size())
        return false;
    return reply.size() == query.size() + 1 || reply[query.size()] == '|';
}

bool Link::Open(const std::string& port) {
    Close();
    LinkEvents::Instance().Clear();
    const std::string definition = zrn::PortDefinition(port);
    open_ = fnZrnOpen(LinkEvents::Instance().Window(), definition.c_str()) == 1;
    return open_;
}

void Link::Close() {
    if (open_)
        fnZrnClose();
    open_ = false;
}

Answer Link::Exchange(const std::string& command, bool query) {
    Answer last{AnswerKind::Lost, {}};
    for (int attempt = 0; attempt < timing_.attempts; ++attempt) {
        // Whatever a lost answer left behind belongs to no command of ours now.
        LinkEvents::Instance().Clear();
        fnZrnSend(command.c_str());
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
    while (std::optional<LinkEvent> event = LinkEvents::Instance().Next(deadline)) {
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
