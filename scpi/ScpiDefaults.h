#pragma once

class TZyGen4;

// A generator as its constructor leaves it, never connected: the DEFault of
// every setting and what *RST restores. Built on first use.
TZyGen4& ScpiDefaultGenerator();
