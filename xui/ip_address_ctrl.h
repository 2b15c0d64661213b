// The IP address control (window class "SysIPAddress32" in dialog templates): four number
// fields separated by dots. Fields take digits only and hold at most 255; typing "." or
// filling a field with three digits moves on to the next field. A blank field reads as 0.
// The address is exchanged as one 32-bit value with the first field in the highest byte.
#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

class QLineEdit;

namespace xui {

class CIpAddressCtrl : public QWidget {
    Q_OBJECT

public:
    static constexpr int kFieldCount = 4;
    static constexpr int kFieldMax = 255;

    explicit CIpAddressCtrl(QWidget* parent = nullptr);

    // Sets all four fields from the value (first field = bits 31..24).
    void SetAddress(std::uint32_t address);
    void SetAddress(std::uint8_t f0, std::uint8_t f1, std::uint8_t f2, std::uint8_t f3);

    // The address (blank fields read 0); returns the number of fields that are not blank.
    int GetAddress(std::uint32_t& address) const;
    int GetAddress(std::uint8_t& f0, std::uint8_t& f1, std::uint8_t& f2, std::uint8_t& f3) const;

    // Empties all four fields.
    void ClearAddress();

    // True when every field is blank.
    bool IsBlank() const;

    // Gives the keyboard focus to one field (0..3) with its text selected; other values are
    // ignored.
    void SetFieldFocus(int field);

    // The value of one field; -1 when the field is blank or the index is outside 0..3.
    int fieldValue(int field) const;

    // The field edit (for tests and for tab order); null outside 0..3.
    QLineEdit* fieldEdit(int field) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int fieldIndex(const QObject* object) const;
    void onFieldEdited(int field);
    void moveToField(int field, bool selectAll, bool caretAtEnd);
    void layoutFields();

    std::array<QLineEdit*, kFieldCount> fields_{};
};

// Registers the class name "SysIPAddress32" with the dialog builder. Safe to call again.
bool RegisterIpAddressClass();

} // namespace xui
