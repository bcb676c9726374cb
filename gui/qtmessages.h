#pragma once

#include "base/messages.h"

// Message boxes on the screen, for the desktop program.
class QtMessages : public Messages {
  public:
    void show(Icon icon, const QString &title, const QString &text) override;
    [[nodiscard]] bool ask(Icon icon, const QString &title, const QString &text,
                           bool defaultYes) override;

  protected:
    [[nodiscard]] bool askRetry(const QString &title, const QString &text) override;
};

// The log service when KOOP_MESSAGES=log asks for it, else the boxes.
std::unique_ptr<Messages> makeMessages();
