// A terminal of a fixed size for tests of the station screen: it takes what the program
// writes to standard error (the escape sequences a Linux terminal takes) and keeps the
// cells of its alternate screen, and the last frame that screen showed before it was left.
#pragma once

#include <string>
#include <vector>

class VirtualTerminal {
  public:
    VirtualTerminal(std::size_t columns, std::size_t rows)
        : columns_(columns), rows_(rows), cells_(rows, std::u32string(columns, U' ')) {}

    void feed(const std::string& bytes) {
        for (std::size_t i = 0; i < bytes.size();) {
            const unsigned char b = static_cast<unsigned char>(bytes[i]);
            if (b == 0x1b && i + 1 < bytes.size() && bytes[i + 1] == '[') {
                std::size_t end = i + 2;
                while (end < bytes.size() && !(bytes[end] >= 0x40 && bytes[end] <= 0x7e))
                    ++end;
                escape(bytes.substr(i + 2, end - i - 2), bytes[end]);
                i = end + 1;
            } else if (b == '\r') {
                column_ = 0, ++i;
            } else if (b == '\n') {
                row_ = row_ + 1 < rows_ ? row_ + 1 : row_, ++i;
            } else {
                const int more = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
                char32_t code = more == 0 ? b : b & (0x3F >> more);
                for (int k = 1; k <= more; ++k)
                    code = (code << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
                i += static_cast<std::size_t>(more) + 1;
                if (column_ >= columns_)
                    wrapped = true;
                else
                    cells_[row_][column_++] = code;
            }
        }
    }
    // The rows of the screen as it is (or as it was when left), blanks at their ends off.
    std::vector<std::string> screen() const { return text(onAlternate_ ? cells_ : left_); }
    bool wrapped = false; // something was written beyond a row's end

  private:
    void escape(const std::string& args, char command) {
        if (args == "?1049" && command == 'h')
            onAlternate_ = true, clear(0);
        else if (args == "?1049" && command == 'l')
            onAlternate_ = false, left_ = cells_;
        else if (command == 'H')
            row_ = column_ = 0;
        else if (command == 'J')
            clear(args == "2" ? 0 : row_ + 1), clearLine();
        else if (command == 'K')
            clearLine();
    }
    void clearLine() {
        for (std::size_t c = column_; c < columns_; ++c)
            cells_[row_][c] = U' ';
    }
    void clear(std::size_t from) {
        for (std::size_t r = from; r < rows_; ++r)
            cells_[r] = std::u32string(columns_, U' ');
    }
    static std::vector<std::string> text(const std::vector<std::u32string>& cells) {
        std::vector<std::string> rows;
        for (std::u32string row : cells) {
            while (!row.empty() && row.back() == U' ')
                row.pop_back();
            std::string utf8;
            for (char32_t c : row) {
                if (c < 0x80) {
                    utf8 += static_cast<char>(c);
                } else if (c < 0x800) {
                    utf8 += static_cast<char>(0xC0 | (c >> 6));
                    utf8 += static_cast<char>(0x80 | (c & 0x3F));
                } else {
                    utf8 += static_cast<char>(0xE0 | (c >> 12));
                    utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                    utf8 += static_cast<char>(0x80 | (c & 0x3F));
                }
            }
            rows.push_back(utf8);
        }
        while (!rows.empty() && rows.back().empty())
            rows.pop_back();
        return rows;
    }

    std::size_t columns_, rows_, row_ = 0, column_ = 0;
    std::vector<std::u32string> cells_, left_;
    bool onAlternate_ = false;
};
