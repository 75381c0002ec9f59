// vellumsheet: converts PDF documents into Excel 5.0/95 workbooks.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kUsage =
    "Usage: vellumsheet <command> [arguments]\n"
    "\n"
    "Converts a PDF document into an Excel 5.0/95 workbook (.xls).\n"
    "\n"
    "Commands:\n"
    "  convert IN.pdf OUT.xls [options]   convert a PDF file into a workbook\n"
    "  info IN.pdf                        show what a PDF file holds\n"
    "\n"
    "Options:\n"
    "  --help       show this help\n"
    "  --version    show the program version\n";

int Usage(FILE* out, int status) {
  std::fputs(kUsage, out);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help")
    return Usage(stdout, 0);
  if (args[0] == "--version") {
    std::printf("vellumsheet %s\n", VS_VERSION);
    return 0;
  }
  std::fprintf(stderr, "vellumsheet: unknown command '%.*s'\n\n", static_cast<int>(args[0].size()),
               args[0].data());
  return Usage(stderr, 2);
}
