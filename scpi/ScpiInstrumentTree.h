#pragma once

class TScpiTree;

// The generator's commands: outputs, carrier, modulation, sweep, keying,
// tuning and the SYSTem subsystem (the README lists them).
void AddInstrumentCommands(TScpiTree& tree);
