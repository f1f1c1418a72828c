#include "SValue.h"

SValue::SValue()
    : word(0), text(""), secondText(""), number(0), secondWord(0), secondNumber(0), thirdNumber(0),
      real(0.0), thirdText("")
{
}

SValue::~SValue()
{
    Reset();
}

void SValue::Reset()
{
    text = "";
    secondText = "";
    thirdText = "";
    number = secondNumber = thirdNumber = 0;
    real = 0.0;
}
