#pragma once
#define IDI_GANTREL 1
