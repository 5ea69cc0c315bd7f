#pragma once

#include <string>
#include <vector>

// "puntel-cli palette ...": `words` are the words after "palette".
int RunPaletteCommand(std::vector<std::string> words);
