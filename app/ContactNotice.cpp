#include "app/ContactNotice.h"

#include <chrono>

bool ContactNoticeDue(std::mt19937& generator)
{
    std::uniform_int_distribution<int> draw(0, 9);
    return draw(generator) == 2;
}

std::mt19937 TimeSeededGenerator()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::mt19937(
        static_cast<std::mt19937::result_type>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

TMessageBox ContactNotice()
{
    TMessageBox box;
    box.Icon = QMessageBox::Information;
    box.Caption = QStringLiteral("tulvo");
    box.Text = QStringLiteral("Спасибо за работу с программой tulvo!\n"
                              "Вопросы, замечания и пожелания направляйте её разработчикам.");
    box.Button = QStringLiteral("OK");
    return box;
}
