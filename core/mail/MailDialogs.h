#pragma once
// The mail dialog port.

namespace zf {

class MailDialogs {
public:
    virtual ~MailDialogs() = default;
    // Shows the mail dialog `TMailerForm` modally on the session's mail fields; it sends by itself.
    virtual void mailDialog() {}
};

} // namespace zf
