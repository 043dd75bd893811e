#include <iostream>
#include <span>

#include "driver/extract_run.h"

int main(int argc, char** argv) {
  return counterpal::runExtract(std::span<const char* const>(argv, static_cast<std::size_t>(argc)),
                                std::cout);
}
